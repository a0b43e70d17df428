#include "QtPrompter.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace {

// A box that, like a Windows one, ignores Escape and its close button unless it has a Cancel
// button or only an OK button.
class WindowsLikeBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;
    bool escapable = true;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_Escape && !escapable) {
            e->accept();
            return;
        }
        QMessageBox::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent* e) override
    {
        if (!escapable) {
            e->ignore();
            return;
        }
        QMessageBox::closeEvent(e);
    }
};

struct ButtonSpec {
    QMessageBox::StandardButton button;
    const char16_t* caption;
    int answer;
};

constexpr ButtonSpec OkButton{QMessageBox::Ok, u"OK", Answer::Ok};
constexpr ButtonSpec YesButton{QMessageBox::Yes, u"はい(&Y)", Answer::Yes};
constexpr ButtonSpec NoButton{QMessageBox::No, u"いいえ(&N)", Answer::No};
constexpr ButtonSpec CancelButton{QMessageBox::Cancel, u"キャンセル", Answer::Cancel};
constexpr ButtonSpec AbortButton{QMessageBox::Abort, u"中止(&A)", Answer::Abort};
constexpr ButtonSpec RetryButton{QMessageBox::Retry, u"再試行(&R)", Answer::Retry};
constexpr ButtonSpec IgnoreButton{QMessageBox::Ignore, u"無視(&I)", Answer::Ignore};

QMessageBox::Icon iconOf(int style)
{
    switch (style & MessageStyle::IconMask) {
    case MessageStyle::IconError:
        return QMessageBox::Critical;
    case MessageStyle::IconQuestion:
        return QMessageBox::Question;
    case MessageStyle::IconWarning:
        return QMessageBox::Warning;
    case MessageStyle::IconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int QtPrompter::prompt(const PromptRequest& request)
{
    WindowsLikeBox box(m_parent);
    box.setWindowTitle(applicationTitle());
    box.setIcon(iconOf(request.style));
    // Windows boxes break lines at CR LF; a lone CR would show as a stray character here.
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(text);
    box.setTextFormat(Qt::PlainText);

    static constexpr ButtonSpec ok[] = {OkButton};
    static constexpr ButtonSpec ari[] = {AbortButton, RetryButton, IgnoreButton};
    static constexpr ButtonSpec ync[] = {YesButton, NoButton, CancelButton};
    static constexpr ButtonSpec yn[] = {YesButton, NoButton};
    const ButtonSpec* begin = ok;
    const ButtonSpec* end = std::end(ok);
    switch (request.style & MessageStyle::ButtonsMask) {
    case MessageStyle::AbortRetryIgnore:
        begin = ari, end = std::end(ari);
        box.escapable = false;
        break;
    case MessageStyle::YesNoCancel:
        begin = ync, end = std::end(ync);
        break;
    case MessageStyle::YesNo:
        begin = yn, end = std::end(yn);
        box.escapable = false;
        break;
    default:
        break;
    }
    QPushButton* first = nullptr;
    for (const ButtonSpec* b = begin; b != end; ++b) {
        QPushButton* button = box.addButton(b->button);
        button->setText(QString::fromUtf16(b->caption));
        if (!first)
            first = button;
    }
    // No default-button bits are ever set: the first button is the default one.
    box.setDefaultButton(first);

    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    for (const ButtonSpec* b = begin; b != end; ++b) {
        if (b->button == pressed)
            return b->answer;
    }
    return (request.style & MessageStyle::ButtonsMask) == MessageStyle::Ok ? Answer::Ok
                                                                           : Answer::Cancel;
}
