#pragma once

#include "matchlist/DummyPlates.h"
#include "matchlist/IMatchListHost.h"
#include "matchlist/ISettingsHost.h"
#include "matchlist/Wiegand.h"
#include "netsetup/IDeviceListHost.h"

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QShortcut;
class TDeviceCommands;
class QCheckBox;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QWidget;
class TFieldEdit;
class TFormImport;
class TFormIP;
class TFormLantronix;
class TListView;
struct TSelectChange;

namespace pellicor {

// The main window of Tavrin List. Its controls are named fields (object names are the
// same); the match list lives in PlateList1's rows and the special entries' controls.
class TFormMain final : public QMainWindow,
                        public IMatchListHost,
                        public ISettingsHost,
                        public IDeviceListHost {
    Q_OBJECT

public:
    // Builds the window and runs FormCreate; an error there is shown by the default
    // handler and the window is created all the same.
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;
    Q_DISABLE_COPY_MOVE(TFormMain)

    // Runs once when the program ends, after the window has closed: writes the settings
    // and the list file beside the program. Errors go to the default handler.
    void FormDestroy();

    // --- controls
    QWidget* PanelLeft = nullptr;
    QTabWidget* PageControlEditPlate = nullptr;
    QWidget* tsEditPlate = nullptr;
    TFieldEdit* EditPlate = nullptr;
    TFieldEdit* EditNumber = nullptr;
    QPushButton* btnAdd = nullptr;
    QWidget* PanelPlateBottom = nullptr;
    QCheckBox* chkNoMatch = nullptr;
    TFieldEdit* EditNoMatch = nullptr;
    QCheckBox* chkNoRead = nullptr;
    TFieldEdit* EditNoRead = nullptr;
    QCheckBox* chkNoPlate = nullptr;
    TFieldEdit* EditNoPlate = nullptr;
    QWidget* tsWiegandFormat = nullptr;
    TFieldEdit* EditWiegandLen = nullptr;
    QCheckBox* chkWiegandFCEnable = nullptr;
    TFieldEdit* EditWiegandFCVal = nullptr;
    TFieldEdit* EditWiegandFCLen = nullptr;
    QCheckBox* chkWiegandAddParity = nullptr;
    QWidget* PanelSeparatorL1 = nullptr;
    QTabWidget* PageControlPlateList = nullptr;
    QWidget* tsList = nullptr;
    TListView* PlateList1 = nullptr;
    QWidget* PanelCenter = nullptr;
    QPushButton* btnSend = nullptr;
    QPushButton* btnReceive = nullptr;
    QWidget* PanelHidden = nullptr;
    QPushButton* btnDebug = nullptr;
    QWidget* PanelRight = nullptr;
    QTabWidget* PageControlEditHost = nullptr;
    QWidget* tsEditHost = nullptr;
    QWidget* LabelHosts = nullptr;
    QPushButton* btnHostSearch = nullptr;
    QPushButton* btnHostSelectAll = nullptr;
    QWidget* PanelHostEdit = nullptr;
    TFieldEdit* EditHost = nullptr;
    QPushButton* btnHostAdd = nullptr;
    QWidget* PanelSeparatorR1 = nullptr;
    QTabWidget* PageControlHostList = nullptr;
    QWidget* tsHosts = nullptr;
    TListView* HostList1 = nullptr;
    QWidget* Splitter1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileImport = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuTransfer = nullptr;
    QAction* mnuSend = nullptr;
    QAction* mnuReceive = nullptr;
    QMenu* mnuPlate = nullptr;
    QAction* mnuPlateClearList = nullptr;
    QAction* mnuPlateDeleteSelection = nullptr;
    QAction* mnuPlateDeleteDuplicates = nullptr;
    QMenu* mnuHost = nullptr;
    QAction* mnuHostSearch = nullptr;
    QAction* mnuHostAssignIP = nullptr;
    QAction* mnuHostInitCfg = nullptr;
    QAction* mnuHostTelnet = nullptr;
    QAction* mnuHostPing = nullptr;
    QAction* mnuHostInfo = nullptr;
    QAction* mnuHostTerminal = nullptr;
    QMenu* mnuOptions = nullptr;
    QMenu* mnuUsermode = nullptr;
    QAction* mnuUserGuest = nullptr;
    QAction* mnuUserExpert = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuFileInfo = nullptr;
    QAction* mnuAbout = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* mnuGenerateDummyList = nullptr;
    QMenu* PopupMenu2 = nullptr;

    // --- own fields
    uint8_t UserMode = 0;
    bool DebugView = false;
    bool Modified = false;
    int32_t PlateSortColumn = -1;
    bool PlateSortAscending = false;
    int32_t HostSortColumn = -1;
    bool HostSortAscending = false;
    char Delimiter = ';';
    char QuoteChar = '"';
    int64_t MaxId = 0;
    int32_t PlateCount = 0;
    int32_t PlateSelCount = 0;
    int32_t HostCount = 0;
    int32_t HostSelCount = 0;

    // --- life cycle and commands
    void FormResize();
    // While a device command runs and lets window messages through, the lists, fields,
    // buttons, menus and shortcuts wait; the log and the progress bar stay live. When it
    // ends, the focus is back on the control that had it.
    void HoldOffInput(bool hold);
    TDeviceCommands& DeviceCommands() { return *deviceCommands_; }
    void UpdateUI() override;
    // Marks the Wiegand fields, sets MaxId and the status text; true when valid.
    bool CheckWiegandFormat();
    // The Wiegand format as its five fields hold it now.
    TWiegandFormat WiegandFormat() const;
    void SetUserMode(uint8_t mode);
    void OnChangeUserMode(QAction* sender);
    void btnDebugClick();
    void mnuFileOpenClick();
    void mnuFileSaveClick();
    void mnuPlateClearListClick();
    void btnAddClick();
    void mnuHostSearchClick();
    void mnuHostInitCfgClick();
    void mnuHostAssignIPClick();
    void mnuHostPingClick();
    void mnuHostTelnetClick();
    void mnuHostTerminalClick();
    void mnuPlateDeleteSelectionClick();
    void mnuPlateDeleteDuplicatesClick();
    void mnuGenerateDummyListClick();
    // The lists' events.
    void DoColumnClick(TListView& list, int column);
    int DoCompare(const TListView& list, int a, int b) const;
    void OnSelectPlate(const std::vector<TSelectChange>& changes);
    void PlateList1Exit();
    void OnKeyUp(TListView& list, int key, bool autoRepeat);
    void HostList1DblClick();
    bool PlateList1DragOver(QObject* source) const;
    void mnuFileImportClick();
    void mnuExitClick();
    void mnuAboutClick();
    void mnuFileInfoClick();

    // The files beside the program.
    std::string ListFileName() const;
    std::string SettingsFileName() const;

    // --- IMatchListHost
    TListView& PlateList() override;
    bool SpecialChecked(int k) const override;
    std::string SpecialIdText(int k) const override;
    void SetSpecial(int k, bool checked, const std::string& idText) override;
    void SetModified(bool modified) override;
    void SetPlateSortColumn(int column) override;
    void SwitchToExpert() override;
    void ShowProgress(int maximum) override;
    void SetProgressPosition(int position) override;
    void HideProgress() override;

    // --- ISettingsHost
    char ListDelimiter() const override { return Delimiter; }
    void SetListDelimiter(char delimiter) override { Delimiter = delimiter; }
    char ListQuoteChar() const override { return QuoteChar; }
    void SetListQuoteChar(char quote) override { QuoteChar = quote; }
    int32_t WiegandValue(TWiegandControl control) const override;
    void SetWiegandValue(TWiegandControl control, int32_t value) override;
    TListView& HostList() override;

    // --- IDeviceListHost
    std::string EditHostText() const override;
    void SetEditHostText(const std::string& text) override;
    void FocusEditHost() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void BindCommands();
    void BindLists();
    // The format of the Wiegand page, judged without marking anything.
    bool WiegandFormatValid() const;
    void FormCreate();
    void FormActivate();
    bool FormCloseQuery();
    // Why the exit will not write the list file with the list as it stands, in the words the
    // close shows; none where it will.
    std::optional<QString> ListFileLeftAtExit();
    void DoUpdateUI();
    void DoSetModified();
    void RestoreFocusAfterCommand();
    QCheckBox* SpecialCheckBox(int k) const;
    TFieldEdit* SpecialEdit(int k) const;

    bool activated_ = false;
    bool updating_ = false;
    bool destroyed_ = false;
    // Set when the list file beside the program, which existed, was not read at start (or
    // where it lives is unknown): the exit leaves it as it is instead of replacing it, and
    // the close says so before its question, in these words.
    std::optional<QString> listFileUnread_;
    TDummyPlates dummyPlates_;
    QShortcut* fileMenuShortcut_ = nullptr;
    // The control that had the focus when the running command began.
    QPointer<QWidget> focusBeforeCommand_;
    // A close was asked for while a command ran; it runs once the command has ended.
    bool closePending_ = false;
    std::unique_ptr<class TMainDeviceContext> deviceContext_;
    std::unique_ptr<TDeviceCommands> deviceCommands_;
};

// The program's windows, created at start in this order.
extern TFormMain* FormMain;
extern TFormImport* FormImport;
extern TFormIP* FormIP;
extern TFormLantronix* FormLantronix;

}  // namespace pellicor
