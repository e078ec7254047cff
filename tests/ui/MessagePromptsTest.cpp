// The real message boxes behind IUserPrompts: the button the user presses is the answer, and
// a box closed without one answers its way out, the same rule the scripted boxes follow.

#include "UiTests.h"

#include "ui/CMessagePrompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

using Answer = IUserPrompts::Answer;
using Buttons = IUserPrompts::Buttons;

// Runs `act` on the message box as soon as it shows.
void OnNextBox(std::function<void(QMessageBox*)> act) {
    QTimer::singleShot(0, [act] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            act(box);
    });
}

} // namespace

class MessagePromptsTest : public QObject {
    Q_OBJECT

private slots:
    // [WHEN] a box is closed without a button [THEN] it answers No, Cancel, Abort or Ok
    void aBoxClosedUnansweredTakesItsWayOut() {
        const struct {
            Buttons buttons;
            Answer expected;
        } cases[] = {{Buttons::Ok, Answer::Ok},
                     {Buttons::YesNo, Answer::No},
                     {Buttons::YesNoCancel, Answer::Cancel},
                     {Buttons::AbortRetryIgnore, Answer::Abort}};
        CMessagePrompts prompts;
        for (const auto& c : cases) {
            OnNextBox([](QMessageBox* box) { box->reject(); });
            QCOMPARE(prompts.Message("?", {}, IUserPrompts::Icon::Question, c.buttons), c.expected);
            QCOMPARE(IUserPrompts::WayOut(c.buttons), c.expected);
        }
    }

    // [WHEN] the user clicks "Retry" or presses Escape [THEN] that is the answer
    void aPressedButtonIsTheAnswer() {
        CMessagePrompts prompts;
        OnNextBox([](QMessageBox* box) {
            QTest::mouseClick(box->button(QMessageBox::Retry), Qt::LeftButton);
        });
        QCOMPARE(prompts.Message("?", {}, IUserPrompts::Icon::Warning, Buttons::AbortRetryIgnore),
                 Answer::Retry);
        OnNextBox([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(prompts.Message("?", {}, IUserPrompts::Icon::Question, Buttons::YesNoCancel),
                 Answer::Cancel);
    }
};

std::unique_ptr<QObject> MakeMessagePromptsTest() {
    return std::make_unique<MessagePromptsTest>();
}

#include "MessagePromptsTest.moc"
