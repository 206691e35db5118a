#pragma once
// The program's real message boxes answered as the user does, once each
// box is up (the box's own event loop runs the answer).
#include <string>
#include <vector>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace lintora::testing {

// The next message box to come up is dismissed: by Escape, else by its
// close button. Its text is added to asked when given.
inline void DismissNextBox(bool escape, std::vector<std::string>* asked = nullptr) {
    QTimer::singleShot(0, [escape, asked] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (asked) asked->push_back(box->text().toStdString());
        if (escape)
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Escape);
        else
            box->close();
    });
}

}  // namespace lintora::testing
