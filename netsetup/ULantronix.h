#pragma once

#include "netsetup/LantronixConfig.h"
#include "platform/net/TTelnetClient.h"

#include <QDialog>

#include <cstdint>
#include <string>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// The terminal window: a telnet connection to one device's command service, a command line
// to send and a log of what went each way. Created at program start and kept until exit;
// it also owns the configuration service's client, so that client's socket and search
// results live as long as the program.
class TFormLantronix final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormLantronix)

public:
    explicit TFormLantronix(QWidget* parent = nullptr);
    ~TFormLantronix() override;

    // Connects to host and port (closing a connection still open first) and shows the
    // window modally; the connection closes when the window does, on every path. A failed
    // connect raises the connection's error and shows no window.
    void OpenTerminal(const std::string& host, uint16_t port);

    // Sends the command line (upper-cased a-z, trimmed) with CR LF and logs it; a failing
    // send raises and logs nothing.
    void btnSendClick();
    // The connection's events: each appends one entry to the log.
    void OnReceiveData(const std::string& data);
    void OnStatusChange(const std::string& text);

    TLantronixConfig Config;
    TTelnetClient Telnet1;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void FormCreate();
    // Appends an entry of the log, cut into the lines the memo shows (platform/text/LogLines.h).
    void AddLogLine(const std::string& entry);

    QWidget* PanelTop;
    QLineEdit* Edit1;
    QPushButton* btnSend;
    QPlainTextEdit* Memo1;
};

// The device commands that look at one device directly; host is the row's target host.
// Ping and telnet start the system's programs and show an error box when they cannot.
void RunPing(QWidget* owner, const std::string& host);
void RunTelnet(QWidget* owner, const std::string& host);
// The terminal on the device's data port.
void RunTerminal(TFormLantronix& form, const std::string& host);
