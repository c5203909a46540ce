#include "netsetup/ULantronix.h"

#include "platform/net/NetPorts.h"
#include "platform/shell/ShellExecute.h"
#include "platform/text/Cp1252.h"
#include "platform/text/LogLines.h"
#include "platform/text/TextCase.h"
#include "platform/toolkit/LogMemo.h"
#include "platform/toolkit/TAlign.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/Ui.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr uint16_t kTelnetConfigPort = 9999;

// Disconnects on every path out of the terminal session.
class TerminalSession final {
public:
    explicit TerminalSession(TTelnetClient& telnet) : telnet_(telnet) {}
    ~TerminalSession() { telnet_.Disconnect(); }
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

private:
    TTelnetClient& telnet_;
};

}  // namespace

TFormLantronix::TFormLantronix(QWidget* parent)
    : QDialog(parent), PanelTop(new QWidget(this)), Edit1(new QLineEdit(PanelTop)),
      btnSend(new QPushButton(ToQString("Send"), PanelTop)), Memo1(new QPlainTextEdit(this))
{
    setObjectName("FormLantronix");
    PanelTop->setObjectName("PanelTop");
    Edit1->setObjectName("Edit1");
    btnSend->setObjectName("btnSend");
    Memo1->setObjectName("Memo1");

    setSizeGripEnabled(true);
    resize(601, 480);

    SetAlign(PanelTop, TAlign::alTop);
    SetHeight(PanelTop, 40);
    SetAlign(Memo1, TAlign::alClient);
    SetBounds(Edit1, 8, 8, 488, 24);
    SetBounds(btnSend, 504, 7, 81, 26);
    // The input line stretches with the window; the button keeps to the right edge.
    SetAnchors(Edit1, akLeft | akTop | akRight);
    SetAnchors(btnSend, akTop | akRight);
    btnSend->setDefault(true);

    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    Memo1->setFont(courier);
    SetUpLogMemo(*Memo1);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Telnet1.SetTerminalType("dumb");
    Telnet1.SetOnStatus(ui::Guarded(
        [this](TTcpClient::TStatus, const std::string& text) { OnStatusChange(text); }));
    Telnet1.SetOnDataAvailable(
        ui::Guarded([this](const std::string& data) { OnReceiveData(data); }));
    connect(btnSend, &QPushButton::clicked, this, ui::Guarded([this] { btnSendClick(); }));

    FormCreate();
}

TFormLantronix::~TFormLantronix()
{
    Telnet1.SetOnStatus({});
    Telnet1.SetOnDataAvailable({});
    Telnet1.Disconnect();
}

void TFormLantronix::FormCreate()
{
    Config.DeviceCount = 0;
    setWindowTitle(QGuiApplication::applicationDisplayName());
}

void TFormLantronix::keyPressEvent(QKeyEvent* e)
{
    // The window has no cancel button: Esc does not close it.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TFormLantronix::OpenTerminal(const std::string& host, uint16_t port)
{
    Telnet1.Disconnect();
    TerminalSession session(Telnet1);
    Telnet1.SetHost(host);
    Telnet1.SetPort(port);
    Telnet1.Connect();
    ui::CurrentUi().ShowModal(*this);
}

void TFormLantronix::btnSendClick()
{
    const std::string text = Trim(UpperCaseAscii(ToCp1252(Edit1->text())));
    Edit1->selectAll();
    Telnet1.SendLine(text);
    AddLogLine("> " + text);
}

void TFormLantronix::OnReceiveData(const std::string& data)
{
    AddLogLine("< " + Trim(data));
}

void TFormLantronix::OnStatusChange(const std::string& text)
{
    AddLogLine(text);
}

void TFormLantronix::AddLogLine(const std::string& entry)
{
    std::string lines;
    AppendLogLines(lines, entry);
    lines.pop_back();
    AppendToLog(*Memo1, ToQString(lines));
}

void RunPing(QWidget* owner, const std::string& host)
{
    if (ShellExecute(owner, "open", "ping.exe", host) <= 32)
        ui::ShowMessage(ui::MsgKind::Error, LastErrorMessage());
}

void RunTelnet(QWidget* owner, const std::string& host)
{
    if (ShellExecute(owner, "open", "telnet.exe ",
                     host + " " + std::to_string(kTelnetConfigPort)) <= 32)
        ui::ShowMessage(ui::MsgKind::Error,
                        "Error: failed to execute telnet.exe\r" + LastErrorMessage());
}

void RunTerminal(TFormLantronix& form, const std::string& host)
{
    form.OpenTerminal(host, DevicePort());
}
