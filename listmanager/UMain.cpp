#include "listmanager/UMain.h"

#include "about/UAbout.h"
#include "devicelink/TCommandGate.h"
#include "devicelink/TDeviceCommands.h"
#include "listmanager/MainDeviceContext.h"
#include "matchlist/MatchList.h"
#include "matchlist/UImport.h"
#include "netsetup/AssignIP.h"
#include "netsetup/DeviceListCommands.h"
#include "netsetup/DeviceRows.h"
#include "netsetup/InitialConfig.h"
#include "netsetup/UIP.h"
#include "netsetup/ULantronix.h"
#include "matchlist/PlateRules.h"
#include "matchlist/Settings.h"
#include "matchlist/Wiegand.h"
#include "platform/text/Cp1252.h"
#include "platform/text/Errors.h"
#include "platform/text/FileName.h"
#include "platform/file/FileSystem.h"
#include "platform/file/ProgramPath.h"
#include "platform/file/ReplaceFile.h"
#include "platform/toolkit/DefaultButton.h"
#include "platform/toolkit/TAlign.h"
#include "platform/toolkit/TListView.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/SessionEnd.h"
#include "platform/ui/Ui.h"
#include "widgets/FieldEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QScopedValueRollback>
#include <QTabWidget>

#include <utility>

namespace pellicor {

TFormMain* FormMain = nullptr;
TFormImport* FormImport = nullptr;
TFormIP* FormIP = nullptr;
TFormLantronix* FormLantronix = nullptr;

namespace {

const ui::FileDialogOptions& ListFileDialog(bool save)
{
    static const ui::FileDialogOptions open = [] {
        ui::FileDialogOptions o;
        o.filter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";
        o.defaultExt = ".txt";
        o.fileMustExist = true;
        o.pathMustExist = true;
        return o;
    }();
    static const ui::FileDialogOptions saveAs = [] {
        ui::FileDialogOptions o = open;
        o.fileMustExist = false;
        o.overwritePrompt = true;
        return o;
    }();
    return save ? saveAs : open;
}

const char* const kFileFormatInfo =
    "Import file format:\r\rImport files must be text files. Each line contains a number "
    "plate \rand a wiegand id-number separated with a semicolon (\";\").\r\rFor example:\r"
    "   ZLSZ17;1\r   AB99YZ;22\r   HK55EVB;333";

}  // namespace

TFormMain::TFormMain(QWidget* parent)
    : QMainWindow(parent), deviceContext_(std::make_unique<TMainDeviceContext>(*this)),
      deviceCommands_(std::make_unique<TDeviceCommands>(*deviceContext_))
{
    CreateControls();
    CreateMenus();
    BindCommands();
    BindLists();
    ui::Guarded([this] { FormCreate(); })();
}

TFormMain::~TFormMain() = default;

void TFormMain::BindCommands()
{
    using ui::Guarded;
    const auto onClick = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, Guarded(handler));
    };
    onClick(mnuFileNew, [this] { mnuPlateClearListClick(); });
    onClick(mnuFileOpen, [this] { mnuFileOpenClick(); });
    onClick(mnuFileSave, [this] { mnuFileSaveClick(); });
    onClick(mnuExit, [this] { mnuExitClick(); });
    onClick(mnuPlateClearList, [this] { mnuPlateClearListClick(); });
    onClick(mnuFileImport, [this] { mnuFileImportClick(); });
    onClick(mnuFileInfo, [this] { mnuFileInfoClick(); });
    onClick(mnuAbout, [this] { mnuAboutClick(); });
    for (QAction* mode : {mnuUserGuest, mnuUserExpert})
        onClick(mode, [this, mode] { OnChangeUserMode(mode); });
    connect(btnDebug, &QPushButton::clicked, this, Guarded([this] { btnDebugClick(); }));
    connect(PageControlEditPlate, &QTabWidget::currentChanged, this,
            Guarded([this] { DoUpdateUI(); }));
    for (QMenu* popup : {PopupMenu1, PopupMenu2})
        connect(popup, &QMenu::aboutToShow, this, Guarded([this] { DoUpdateUI(); }));

    // Opening the File menu, or its title's accelerator, refreshes the window.
    connect(mnuFile, &QMenu::aboutToShow, this, Guarded([this] { DoUpdateUI(); }));
    fileMenuShortcut_ = new QShortcut(QKeySequence("Ctrl+N"), this);
    fileMenuShortcut_->setObjectName("mnuFileShortcut");
    connect(fileMenuShortcut_, &QShortcut::activated, this, Guarded([this] { DoUpdateUI(); }));

    onClick(mnuHostSearch, [this] { mnuHostSearchClick(); });
    connect(btnHostSearch, &QPushButton::clicked, this, Guarded([this] { mnuHostSearchClick(); }));
    connect(btnHostSelectAll, &QPushButton::clicked, this,
            Guarded([this] { SelectAllDevices(*this); }));
    connect(btnHostAdd, &QPushButton::clicked, this,
            Guarded([this] { AddDeviceFromEditHost(*this); }));
    onClick(mnuHostInitCfg, [this] { mnuHostInitCfgClick(); });
    onClick(mnuHostAssignIP, [this] { mnuHostAssignIPClick(); });
    onClick(mnuHostPing, [this] { mnuHostPingClick(); });
    onClick(mnuHostTelnet, [this] { mnuHostTelnetClick(); });
    onClick(mnuHostTerminal, [this] { mnuHostTerminalClick(); });

    const auto send = [this] { deviceCommands_->btnSendClick(); };
    const auto receive = [this] { deviceCommands_->btnReceiveClick(); };
    onClick(mnuSend, send);
    onClick(mnuReceive, receive);
    onClick(mnuHostInfo, [this] { deviceCommands_->mnuHostInfoClick(); });
    connect(btnSend, &QPushButton::clicked, this, Guarded(send));
    connect(btnReceive, &QPushButton::clicked, this, Guarded(receive));
    connect(PlateList1, &TListView::DragDrop, this, Guarded(receive));

    for (TFieldEdit* edit : {EditPlate, EditNumber, EditNoMatch, EditNoRead, EditNoPlate,
                             EditWiegandLen, EditWiegandFCVal, EditWiegandFCLen})
        edit->SetOnChange([this](TFieldEdit&) { ui::Guarded([this] { DoSetModified(); })(); });
    for (QCheckBox* box :
         {chkNoMatch, chkNoRead, chkNoPlate, chkWiegandFCEnable, chkWiegandAddParity})
        connect(box, &QCheckBox::toggled, this, Guarded([this] { DoSetModified(); }));
}

// --- life cycle

void TFormMain::FormCreate()
{
    setWindowTitle(QApplication::applicationDisplayName());
    StatusBar1->addPermanentWidget(ProgressBar1, 1);
    ProgressBar1->hide();
    PageControlEditPlate->setProperty("Tag", 175);
    PageControlEditHost->setProperty("Tag", 175);
    std::string listFile;
    try {
        listFile = ListFileName();
        LoadSettings(*this, SettingsFileName());
        // The list is read before the Wiegand format bounds id-numbers, so a restart never
        // drops rows that were valid when they were saved.
        LoadMatchList(*this, listFile, 1, Delimiter, QuoteChar, 0);
    } catch (const std::exception& e) {
        // A start-up that failed before or while reading the list file (an unreadable
        // settings file leaves its separator unknown) must not have the exit write over it;
        // without the program's own file the exit writes no list at all.
        if (listFile.empty())
            listFileUnread_ =
                ToQString("Error: the changes will not be written at exit:\r") + ShownText(e);
        else if (FileExists(listFile))
            listFileUnread_ = FileMessage("Error: the changes will not be written to %s at "
                                          "exit, since it could not be read at start:\r",
                                          {listFile}) +
                              ShownText(e);
        throw;
    }
    Modified = false;
    UpdateUI();
}

void TFormMain::FormActivate()
{
    if (activated_)
        return;
    activated_ = true;
    FormResize();
}

void TFormMain::FormResize()
{
    const int w = centralWidget()->width() - PanelCenter->width();
    if (w < 100)
        return;
    SetWidth(PanelLeft, w / 2);
    SetWidth(PanelRight, w / 2);
}

bool TFormMain::FormCloseQuery()
{
    if (!Modified)
        return true;
    // The exit leaves an unread list file alone, and cannot write one that the write would
    // refuse (all that it asks before its first byte is asked here): the changes must not go
    // without a word while Save as can still keep them.
    if (const std::optional<QString> unwritten = ListFileLeftAtExit())
        ui::ShowUnicodeMessage(ui::MsgKind::Error, *unwritten);
    switch (ui::ShowMessage(ui::MsgKind::Confirmation,
                            "Changes have been made!\r\rDo you want to save the changes?\r",
                            ui::Buttons::YesNoCancel)) {
    case ui::Result::Yes:
        if (const auto file = ui::CurrentUi().SaveFile(ListFileDialog(true))) {
            SaveMatchList(*this, *file, Delimiter, QuoteChar);
            Modified = false;
            return true;
        }
        return false;
    case ui::Result::No:
        return true;
    default:
        return false;
    }
}

std::optional<QString> TFormMain::ListFileLeftAtExit()
{
    if (listFileUnread_)
        return listFileUnread_;
    const std::string listFile = ListFileName();
    try {
        // The write's questions that the new list's length answers too: the file-size limit,
        // and in place the room; the list's text costs far less than the write itself.
        CheckFileWritable(listFile, MatchListText(*this, Delimiter, QuoteChar).size());
    } catch (const EError& e) {
        return FileMessage("Error: the changes will not be written to %s at exit, since it "
                           "cannot be written:\r",
                           {listFile}) +
               ShownText(e);
    }
    return std::nullopt;
}

void TFormMain::FormDestroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    // Each file is written even when the other failed: a settings problem must not cost
    // the match list.
    ui::Guarded([this] { SaveSettings(*this, SettingsFileName()); })();
    ui::Guarded([this] {
        if (!listFileUnread_)
            SaveMatchList(*this, ListFileName(), Delimiter, QuoteChar);
    })();
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    // A device command is on its way: the close waits until it has ended. However often it
    // is asked for meanwhile, one close is pending, so one question comes.
    if (deviceCommands_->Gate().Busy()) {
        event->ignore();
        if (!std::exchange(closePending_, true))
            deviceCommands_->Gate().WhenIdle([this] {
                if (std::exchange(closePending_, false))
                    close();
            });
        return;
    }
    // A close that arrives before the pending one has run is that same close.
    closePending_ = false;
    // At the session's end nobody answers: the exit writes the list beside the program
    // all the same, so nothing is lost without the question.
    bool canClose = ui::SessionEnding();
    if (!canClose)
        ui::Guarded([&] { canClose = FormCloseQuery(); })();
    if (canClose)
        event->accept();
    else
        event->ignore();
}

void TFormMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    ui::Guarded([this] { FormResize(); })();
}

void TFormMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    ui::Guarded([this] { FormActivate(); })();
}

void TFormMain::HoldOffInput(bool hold)
{
    // Disabling the panel that holds the focus leaves no control focused, and Enter would
    // then press the default button: the focus is taken note of first and given back.
    if (hold)
        focusBeforeCommand_ = focusWidget();
    for (QWidget* w : {PanelLeft, PanelCenter, PanelRight, static_cast<QWidget*>(menuBar())})
        w->setEnabled(!hold);
    // Shortcuts of the main menu work even with the menu bar disabled.
    for (QAction* item : {mnuFileOpen, mnuFileSave, mnuHostSearch})
        item->setEnabled(!hold);
    fileMenuShortcut_->setEnabled(!hold);
    if (!hold)
        RestoreFocusAfterCommand();
}

// Back to the control that had the focus, if the command left it shown and enabled; else
// to the first control Tab reaches on the edit page on view.
void TFormMain::RestoreFocusAfterCommand()
{
    const auto usable = [this](const QWidget* w) { return w->isEnabled() && w->isVisibleTo(this); };
    QWidget* target = std::exchange(focusBeforeCommand_, nullptr);
    if (!target || !usable(target)) {
        target = nullptr;
        const QWidget* page = PageControlEditPlate->currentWidget();
        for (QWidget* w = nextInFocusChain(); w != this && !target; w = w->nextInFocusChain())
            if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && usable(w))
                target = w;
    }
    if (target)
        target->setFocus(Qt::OtherFocusReason);
}

bool TFormMain::event(QEvent* event)
{
    // The status bar holds the Wiegand format's state; menu items must not wipe it.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

void TFormMain::keyPressEvent(QKeyEvent* event)
{
    if (PressButtonForEnter(*this, *event, {btnAdd}))
        return;
    QMainWindow::keyPressEvent(event);
}

std::string TFormMain::ListFileName() const
{
    return ChangeFileExt(ProgramFileName(), ".lst");
}

std::string TFormMain::SettingsFileName() const
{
    return ChangeFileExt(ProgramFileName(), ".ini");
}

// --- commands

void TFormMain::mnuExitClick()
{
    close();
}

void TFormMain::mnuAboutClick()
{
    if (FormAbout)
        ui::CurrentUi().ShowModal(*FormAbout);
}

void TFormMain::mnuFileImportClick()
{
    const auto file = ui::CurrentUi().OpenFile(ListFileDialog(false));
    if (!file || !FormImport)
        return;
    int firstLine = 1;
    if (!FormImport->ShowImportDialog(*file, firstLine, Delimiter, QuoteChar))
        return;
    LoadMatchList(*this, *file, firstLine, Delimiter, QuoteChar, MaxId);
    Modified = false;
    UpdateUI();
}

void TFormMain::mnuFileInfoClick()
{
    ui::ShowMessage(ui::MsgKind::Information, kFileFormatInfo);
}

void TFormMain::mnuFileOpenClick()
{
    const auto file = ui::CurrentUi().OpenFile(ListFileDialog(false));
    if (!file)
        return;
    LoadMatchList(*this, *file, 1, Delimiter, QuoteChar, MaxId);
    Modified = false;
    UpdateUI();
}

void TFormMain::mnuFileSaveClick()
{
    const auto file = ui::CurrentUi().SaveFile(ListFileDialog(true));
    if (!file)
        return;
    SaveMatchList(*this, *file, Delimiter, QuoteChar);
    Modified = false;
}

void TFormMain::mnuPlateClearListClick()
{
    if (!Modified || ui::ShowMessage(ui::MsgKind::Confirmation, "Clear match-list ?",
                                     ui::Buttons::YesNo) == ui::Result::Yes)
        ClearMatchList(*this);
    UpdateUI();
}

// The search lets window messages through while it polls: it holds the window off as a
// device command does, and a second start meanwhile does nothing.
void TFormMain::mnuHostSearchClick()
{
    TCommandGate::TBusy busy(deviceCommands_->Gate());
    if (busy.Entered() && FormLantronix)
        SearchDevices(*this, FormLantronix->Config);
}

void TFormMain::mnuHostInitCfgClick()
{
    if (FormLantronix)
        InitializeConfig(*this, FormLantronix->Config);
}

// The single-device commands are enabled with exactly one device row selected: it is
// the first selected one.
void TFormMain::mnuHostAssignIPClick()
{
    const int row = HostList1->FirstSelected();
    if (row < 0 || !FormIP || !FormLantronix)
        return;
    AssignIP(*FormIP, FormLantronix->Config, GetColumnText(*HostList1, row, kDeviceHostnameColumn),
             GetColumnText(*HostList1, row, kDeviceIpColumn),
             GetColumnText(*HostList1, row, kDeviceMacColumn));
}

void TFormMain::mnuHostPingClick()
{
    if (const int row = HostList1->FirstSelected(); row >= 0)
        RunPing(this, TargetHost(*HostList1, row));
}

void TFormMain::mnuHostTelnetClick()
{
    if (const int row = HostList1->FirstSelected(); row >= 0)
        RunTelnet(this, TargetHost(*HostList1, row));
}

void TFormMain::mnuHostTerminalClick()
{
    if (const int row = HostList1->FirstSelected(); row >= 0 && FormLantronix)
        RunTerminal(*FormLantronix, TargetHost(*HostList1, row));
}

// --- refresh

void TFormMain::DoUpdateUI()
{
    UpdateUI();
}

void TFormMain::DoSetModified()
{
    Modified = true;
    UpdateUI();
}

void TFormMain::UpdateUI()
{
    // Changing the page below emits a page change, which would refresh again.
    if (updating_)
        return;
    const QScopedValueRollback<bool> guard(updating_, true);

    if (HostList1->SelCount() == 0)
        HostList1->SelectAll();
    PlateCount = PlateList1->Count();
    PlateSelCount = PlateList1->SelCount();
    HostCount = HostList1->Count();
    HostSelCount = HostList1->SelCount();

    const bool formatValid = CheckWiegandFormat();
    const bool wiegandPageActive = PageControlEditPlate->currentWidget() == tsWiegandFormat;

    const std::string plate = EditPlate->Text();
    EditPlate->SetErrorState(!plate.empty() && !IsValidPlate(plate));
    for (TFieldEdit* edit : {EditNumber, EditNoMatch, EditNoRead, EditNoPlate}) {
        const std::string idText = edit->Text();
        edit->SetErrorState(!idText.empty() && !IsValidIdNumber(idText, MaxId));
    }

    mnuGenerateDummyList->setVisible(DebugView);
    Splitter1->setVisible(DebugView);
    Memo1->setVisible(DebugView);

    const bool expert = UserMode != 0;
    const bool fullPages = expert || !formatValid || wiegandPageActive;
    const int wiegandPage = PageControlEditPlate->indexOf(tsWiegandFormat);
    PageControlEditPlate->setTabVisible(wiegandPage, fullPages);
    if (!formatValid)
        PageControlEditPlate->setCurrentWidget(tsWiegandFormat);

    for (QWidget* panel : {PanelPlateBottom, PanelHostEdit, PanelHidden})
        panel->setVisible(expert);
    for (QAction* item : {mnuPlateDeleteDuplicates, mnuHostAssignIP, mnuHostInitCfg, mnuHostTelnet,
                          mnuHostPing, mnuHostTerminal})
        item->setVisible(expert);

    const int plateDesign = PageControlEditPlate->property("Tag").toInt();
    const int hostDesign = PageControlEditHost->property("Tag").toInt();
    SetHeight(PageControlEditPlate,
              fullPages ? plateDesign : plateDesign - PanelPlateBottom->height() - 5);
    SetHeight(PageControlEditHost,
              fullPages ? hostDesign : hostDesign - PanelHostEdit->height() - 5);

    EditWiegandFCVal->SetVisible(chkWiegandFCEnable->isChecked());
    EditWiegandFCLen->SetVisible(chkWiegandFCEnable->isChecked());
    EditNoMatch->SetVisible(chkNoMatch->isChecked());
    EditNoRead->SetVisible(chkNoRead->isChecked());
    EditNoPlate->SetVisible(chkNoPlate->isChecked());

    const bool send = HostSelCount >= 1 && formatValid;
    const bool receive = HostSelCount == 1 && formatValid;
    btnSend->setEnabled(send);
    btnReceive->setEnabled(receive);
    mnuSend->setEnabled(send);
    mnuReceive->setEnabled(receive);
    mnuPlateClearList->setEnabled(PlateCount > 0);
    mnuPlateDeleteSelection->setEnabled(PlateSelCount > 0);
    mnuPlateDeleteDuplicates->setEnabled(PlateCount > 0);
    for (QAction* item : {mnuHostAssignIP, mnuHostInitCfg, mnuHostInfo, mnuHostTelnet, mnuHostPing,
                          mnuHostTerminal})
        item->setEnabled(HostSelCount == 1);
}

TWiegandFormat TFormMain::WiegandFormat() const
{
    TWiegandFormat format;
    format.bitLength = EditWiegandLen->IntegerValue();
    format.fcEnabled = chkWiegandFCEnable->isChecked();
    format.fcLength = EditWiegandFCLen->IntegerValue();
    format.fcValue = EditWiegandFCVal->IntegerValue();
    format.parity = chkWiegandAddParity->isChecked();
    return format;
}

bool TFormMain::WiegandFormatValid() const
{
    return ::CheckWiegandFormat(WiegandFormat()).valid;
}

bool TFormMain::CheckWiegandFormat()
{
    const TWiegandCheck check = ::CheckWiegandFormat(WiegandFormat());
    EditWiegandLen->SetErrorState(check.bitLengthError);
    EditWiegandFCLen->SetErrorState(check.fcLengthError);
    EditWiegandFCVal->SetErrorState(check.fcValueError);
    MaxId = check.maxId;
    // Valid when none of the three fields shows an error, read back from the fields.
    const bool valid = !EditWiegandLen->ErrorState() && !EditWiegandFCLen->ErrorState() &&
                       !EditWiegandFCVal->ErrorState();
    StatusBar1->showMessage(ToQString(valid ? check.statusText : "Wiegand format invalid"));
    return valid;
}

void TFormMain::SetUserMode(uint8_t mode)
{
    UserMode = mode;
    if (mode == 0)
        mnuUserGuest->setChecked(true);
    else if (mode == 1)
        mnuUserExpert->setChecked(true);
    UpdateUI();
}

void TFormMain::OnChangeUserMode(QAction* sender)
{
    SetUserMode(static_cast<uint8_t>(sender->property("Tag").toInt()));
}

void TFormMain::btnDebugClick()
{
    DebugView = !DebugView;
    UpdateUI();
}

// --- the match list's window side

TListView& TFormMain::PlateList()
{
    return *PlateList1;
}

TListView& TFormMain::HostList()
{
    return *HostList1;
}

std::string TFormMain::EditHostText() const
{
    return EditHost->Text();
}

void TFormMain::SetEditHostText(const std::string& text)
{
    EditHost->SetText(text);
}

void TFormMain::FocusEditHost()
{
    EditHost->setFocus();
}

namespace {

QCheckBox* WiegandCheckBox(const TFormMain& f, TWiegandControl control)
{
    return control == TWiegandControl::FCEnable    ? f.chkWiegandFCEnable
           : control == TWiegandControl::AddParity ? f.chkWiegandAddParity
                                                   : nullptr;
}

TFieldEdit* WiegandEdit(const TFormMain& f, TWiegandControl control)
{
    return control == TWiegandControl::Len     ? f.EditWiegandLen
           : control == TWiegandControl::FCLen ? f.EditWiegandFCLen
                                               : f.EditWiegandFCVal;
}

}  // namespace

int32_t TFormMain::WiegandValue(TWiegandControl control) const
{
    if (QCheckBox* box = WiegandCheckBox(*this, control))
        return box->isChecked() ? 1 : 0;
    return WiegandEdit(*this, control)->IntegerValue();
}

void TFormMain::SetWiegandValue(TWiegandControl control, int32_t value)
{
    if (QCheckBox* box = WiegandCheckBox(*this, control))
        box->setChecked(value != 0);
    else
        WiegandEdit(*this, control)->SetIntegerValue(value);
}

QCheckBox* TFormMain::SpecialCheckBox(int k) const
{
    return k == 0 ? chkNoMatch : k == 1 ? chkNoRead : chkNoPlate;
}

TFieldEdit* TFormMain::SpecialEdit(int k) const
{
    return k == 0 ? EditNoMatch : k == 1 ? EditNoRead : EditNoPlate;
}

bool TFormMain::SpecialChecked(int k) const
{
    return SpecialCheckBox(k)->isChecked();
}

std::string TFormMain::SpecialIdText(int k) const
{
    return SpecialEdit(k)->Text();
}

void TFormMain::SetSpecial(int k, bool checked, const std::string& idText)
{
    SpecialCheckBox(k)->setChecked(checked);
    SpecialEdit(k)->SetText(idText);
}

void TFormMain::SetModified(bool modified)
{
    Modified = modified;
}

void TFormMain::SetPlateSortColumn(int column)
{
    PlateSortColumn = column;
}

void TFormMain::SwitchToExpert()
{
    SetUserMode(1);
}

void TFormMain::ShowProgress(int maximum)
{
    ProgressBar1->setMaximum(std::max(maximum, 1));
    ProgressBar1->setValue(0);
    ProgressBar1->show();
}

void TFormMain::SetProgressPosition(int position)
{
    ProgressBar1->setValue(std::clamp(position, 0, ProgressBar1->maximum()));
}

void TFormMain::HideProgress()
{
    ProgressBar1->hide();
}

}  // namespace pellicor
