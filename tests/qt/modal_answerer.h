#pragma once
// Answers the modal boxes a test provokes. While it lives it watches for a
// modal widget; each new one is handed to the test's callback, which reads it
// and closes it (press a button, fill in a text). Nothing else can answer a
// box: the test would hang in its exec().
#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <vector>

class ModalAnswerer : public QObject {
  public:
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };
    using Callback = std::function<void(QWidget* modal)>;

    explicit ModalAnswerer(Callback callback) : callback_(std::move(callback)) {
        connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
        timer_.start(10);
    }

    // Message boxes answered with `button`, recorded in seen.
    static ModalAnswerer pressing(std::vector<Seen>& seen, QMessageBox::StandardButton button) {
        return ModalAnswerer([&seen, button](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                seen.push_back({box->windowTitle(), box->text(), box->icon()});
                if (QAbstractButton* b = box->button(button))
                    b->click();
                else
                    box->reject();
            } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            }
        });
    }

    int handled() const { return handled_; }

  private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == last_) return;
        last_ = modal;
        ++handled_;
        // Answer from the event loop, not from inside the poll.
        QTimer::singleShot(0, modal, [this, modal] { callback_(modal); });
    }

    Callback callback_;
    QTimer timer_;
    QPointer<QWidget> last_;
    int handled_ = 0;
};
