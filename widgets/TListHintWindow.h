#pragma once

#include <QFrame>

class QListWidget;

// The popup that carries an edit's lookup list: a topmost tool window with a thin
// border, the hint colours and font, shown without taking the activation. Unlike a
// hint it takes mouse clicks: a click activates it and gives the list the focus, and
// it hides itself as soon as it is no longer the active window.
class TListHintWindow final : public QFrame {
    Q_OBJECT

public:
    explicit TListHintWindow(QWidget* owner);
    Q_DISABLE_COPY_MOVE(TListHintWindow)

    QListWidget* ListControl() const { return list_; }

protected:
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    QListWidget* list_;
};
