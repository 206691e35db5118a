#include "platform/qt/window_place.h"

#include <QEvent>
#include <QWidget>

namespace lintora {
namespace {

// A dialog shown again is centred on its owner anew unless it counts as
// placed, and a place the window manager gave it (the user's drag) does not
// count; centred anew under X it also has its frame counted twice and comes
// back lower. The place it had when hidden is made its own place.
class PlaceKeeper : public QObject {
public:
    explicit PlaceKeeper(QWidget* window) : QObject(window), window_(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Hide && !event->spontaneous())
            window_->move(window_->pos());
        return false;
    }

private:
    QWidget* window_;
};

}  // namespace

void KeepPlaceWhenShownAgain(QWidget* window) {
    if (window) new PlaceKeeper(window);
}

}  // namespace lintora
