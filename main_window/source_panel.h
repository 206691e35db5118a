#pragma once
// The source and repository editor: correct the work's sources and
// repositories, make new ones (a changed title or name makes a new
// record), link a source to a repository. Every save rewrites the user
// data file.
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace lintora {

class SourceEditFrame : public QWidget {
    Q_OBJECT
public:
    explicit SourceEditFrame(QWidget* parent = nullptr);

    // The Edit menu's opening: every source title, the first one shown.
    void Open();
    void SourceListClick();
    void ReposListClick();
    void TextChange();      // any of the six boxes
    void CmdSrcEditClick();  // save
    void CmdSrcExitClick();  // close
    // After a change of the work (a paste, an edit, a prune, an undo): the
    // chosen source's count as it now stands; what is typed in the boxes stays.
    void ShowCitations();

    QComboBox* SourceList() const { return sourceList_; }
    QComboBox* ReposList() const { return reposList_; }
    QLineEdit* Box(const char* name) const;  // "sTitle", "sAuthor", "sPublish", "rName", "rAddr", "rCont"
    QLabel* SourceEditInfo() const { return info_; }
    QPushButton* CmdSrcEdit() const { return edit_; }

private:
    void FillRepos(const char* noneText);
    void SetBoxQuietly(QLineEdit* box, const QString& text);

    QComboBox* sourceList_ = nullptr;
    QComboBox* reposList_ = nullptr;
    QLineEdit* sTitle_ = nullptr;
    QLineEdit* sAuthor_ = nullptr;
    QLineEdit* sPublish_ = nullptr;
    QLineEdit* rName_ = nullptr;
    QLineEdit* rAddr_ = nullptr;
    QLineEdit* rCont_ = nullptr;
    QLabel* info_ = nullptr;
    QPushButton* edit_ = nullptr;
    QToolButton* exit_ = nullptr;
};

}  // namespace lintora
