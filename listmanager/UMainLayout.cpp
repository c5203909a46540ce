// The main window's controls, built as its stored layout describes them: sizes,
// positions, docking, captions and tab order.
#include "listmanager/UMainLayout.h"

#include "listmanager/UMain.h"

#include "platform/text/Cp1252.h"
#include "platform/toolkit/LogMemo.h"
#include "platform/toolkit/NumberColumn.h"
#include "platform/toolkit/TAlign.h"
#include "platform/toolkit/TListView.h"
#include "platform/toolkit/TabSize.h"
#include "widgets/FieldEdit.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pellicor {

namespace {

constexpr TPlacedControl kPlacedControls[] = {
    {"EditPlate", {0, 20, 115, 21}},
    {"EditNumber", {120, 20, 115, 21}, akLeft | akTop | akRight},
    {"btnAdd", {240, 18, 75, 23}, akTop | akRight},
    {"chkNoMatch", {0, 7, 115, 17}},
    {"EditNoMatch", {120, 5, 115, 21}, akLeft | akTop | akRight},
    {"chkNoRead", {0, 32, 115, 17}},
    {"EditNoRead", {120, 30, 115, 21}, akLeft | akTop | akRight},
    {"chkNoPlate", {0, 57, 115, 17}},
    {"EditNoPlate", {120, 55, 115, 21}, akLeft | akTop | akRight},
    {"EditWiegandLen", {0, 20, 135, 21}},
    {"chkWiegandFCEnable", {0, 55, 135, 17}},
    {"EditWiegandFCVal", {0, 75, 65, 21}},
    {"EditWiegandFCLen", {70, 75, 65, 21}},
    {"chkWiegandAddParity", {0, 110, 315, 17}},
    {"btnSend", {0, 225, 25, 45}},
    {"btnReceive", {0, 275, 25, 45}},
    {"btnDebug", {0, 0, 25, 10}},
    {"btnHostSearch", {0, 18, 235, 23}, akLeft | akTop | akRight},
    {"btnHostSelectAll", {240, 18, 75, 23}, akTop | akRight},
    {"EditHost", {0, 55, 235, 21}, akLeft | akTop | akRight},
    {"btnHostAdd", {240, 53, 75, 23}, akTop | akRight},
};

const TPlacedControl& PlaceOf(const char* name)
{
    const auto* place =
        std::find_if(std::begin(kPlacedControls), std::end(kPlacedControls),
                     [&](const TPlacedControl& p) { return std::string_view(p.name) == name; });
    if (place == std::end(kPlacedControls))
        throw std::logic_error(std::string("The main window has no place for ") + name);
    return *place;
}

void Place(QWidget* control, const char* name)
{
    const TPlacedControl& place = PlaceOf(name);
    SetBounds(control, place.bounds.x(), place.bounds.y(), place.bounds.width(),
              place.bounds.height());
    SetAnchors(control, place.anchors);
}

constexpr TColor kDisabledColor = 0xF0F0F0;
constexpr int kInnerBorder = 5;

QWidget* MakePanel(QWidget* parent, const char* name, TAlign align, int size)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    SetAlign(panel, align);
    if (align == TAlign::alLeft || align == TAlign::alRight)
        SetWidth(panel, size);
    else if (align != TAlign::alClient)
        SetHeight(panel, size);
    return panel;
}

// Page controls sit in the 345-pixel side panels, inside their 5-pixel border.
constexpr int kPageControlWidth = 335;

QTabWidget* MakePageControl(QWidget* parent, const char* name, TAlign align, int height)
{
    auto* pages = new QTabWidget(parent);
    pages->setObjectName(name);
    SetTabSize(*pages, 100, 25);
    pages->resize(kPageControlWidth, height);
    SetAlign(pages, align);
    if (align == TAlign::alTop)
        SetHeight(pages, height);
    return pages;
}

// A page starts at its design size, so that controls anchored to its right or bottom
// edge keep their design distances to it.
QWidget* MakePage(QTabWidget* pages, const char* name, const char* caption)
{
    auto* page = new QWidget;
    page->setObjectName(name);
    page->resize(pages->width() - 8, pages->height() - 29);
    pages->addTab(page, caption);
    SetBorderWidth(page, kInnerBorder);
    return page;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    Place(button, name);
    return button;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const char* caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    Place(box, name);
    return box;
}

TListView* MakeListView(QWidget* parent, const char* name,
                        std::initializer_list<std::pair<const char*, int>> columns)
{
    auto* list = new TListView(parent);
    list->setObjectName(name);
    SetAlign(list, TAlign::alClient);
    for (const auto& [caption, width] : columns)
        list->AddColumn(caption, width);
    list->SetMultiSelect(true);
    list->SetGridLines(true);
    return list;
}

struct FieldLayout {
    const char* name;
    TFieldEditType type;
    int maxLength;
    const char* label;      // nullptr: no label
    const char* emptyText;  // placeholder
    const char* suffix;
    const char* text;
    bool showError;
    int labelMargin = 3;
};

TFieldEdit* MakeField(QWidget* parent, const FieldLayout& field)
{
    auto* edit = new TFieldEdit(parent);
    edit->setObjectName(field.name);
    edit->BeginLoad();
    edit->SetEditType(field.type);
    edit->SetMaxLength(field.maxLength);
    if (field.label) {
        edit->SetLabelCaption(field.label);
        edit->SetLabelPosition(TLabelPosition::lpTopLeft);
        edit->SetLabelMargin(field.labelMargin);
        edit->SetLabelTransparent(true);
    }
    edit->SetEmptyText(field.emptyText);
    edit->SetSuffix(field.suffix);
    edit->SetText(field.text);
    edit->SetShowError(field.showError);
    edit->SetDisabledColor(kDisabledColor);
    const TPlacedControl& place = PlaceOf(field.name);
    edit->SetBounds(place.bounds.x(), place.bounds.y(), place.bounds.width(),
                    place.bounds.height());
    edit->Loaded();
    SetAnchors(edit, place.anchors);
    return edit;
}

}  // namespace

std::span<const TPlacedControl> MainWindowPlacedControls()
{
    return kPlacedControls;
}

void TFormMain::CreateControls()
{
    setObjectName("FormMain");
    resize(800, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QFont font = this->font();
    font.setPixelSize(11);
    setFont(font);

    auto* client = new QWidget(this);
    client->setObjectName("ClientArea");
    setCentralWidget(client);

    // Along the bottom edge, from the top down: splitter, log, progress bar, status bar.
    // The status bar is the window's own; the others dock in the client area.
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(19);
    setStatusBar(StatusBar1);

    ProgressBar1 = new QProgressBar(client);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setTextVisible(false);
    SetAlign(ProgressBar1, TAlign::alBottom);
    SetHeight(ProgressBar1, 17);
    ProgressBar1->hide();

    Memo1 = new QPlainTextEdit(client);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    SetUpLogMemo(*Memo1);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetAlign(Memo1, TAlign::alBottom);
    SetHeight(Memo1, 80);
    Memo1->hide();

    Splitter1 = MakePanel(client, "Splitter1", TAlign::alBottom, 3);
    Splitter1->setCursor(Qt::SizeVerCursor);
    Splitter1->hide();

    // Left column: the plate input pages above the match list.
    PanelLeft = MakePanel(client, "PanelLeft", TAlign::alLeft, 345);
    SetBorderWidth(PanelLeft, kInnerBorder);
    PageControlEditPlate = MakePageControl(PanelLeft, "PageControlEditPlate", TAlign::alTop, 175);
    tsEditPlate = MakePage(PageControlEditPlate, "tsEditPlate", "Edit Plate");
    EditPlate = MakeField(tsEditPlate, {"EditPlate", TFieldEditType::etString, 10,
                                        "Number Plate:", " < enter plate >", "", "", true});
    EditPlate->SetReturnIsTab(true);
    EditNumber =
        MakeField(tsEditPlate, {"EditNumber", TFieldEditType::etString, 14,
                                "Wiegand id-number:", " < enter id-number >", "", "", true});
    btnAdd = MakeButton(tsEditPlate, "btnAdd", "Add");
    btnAdd->setDefault(true);
    PanelPlateBottom = MakePanel(tsEditPlate, "PanelPlateBottom", TAlign::alBottom, 80);
    const auto specialField = [this](const char* name) {
        return MakeField(PanelPlateBottom, {name, TFieldEditType::etString, 14, nullptr,
                                            " < enter id-number >", "", "", true});
    };
    chkNoMatch = MakeCheckBox(PanelPlateBottom, "chkNoMatch", "No Match");
    EditNoMatch = specialField("EditNoMatch");
    chkNoRead = MakeCheckBox(PanelPlateBottom, "chkNoRead", "No Read");
    EditNoRead = specialField("EditNoRead");
    chkNoPlate = MakeCheckBox(PanelPlateBottom, "chkNoPlate", "No Plate");
    EditNoPlate = specialField("EditNoPlate");

    tsWiegandFormat = MakePage(PageControlEditPlate, "tsWiegandFormat", "Wiegand Format");
    EditWiegandLen =
        MakeField(tsWiegandFormat, {"EditWiegandLen", TFieldEditType::etNumeric, 0,
                                    "Wiegand output length:", "", " bits", "26", true, 4});
    chkWiegandFCEnable = MakeCheckBox(tsWiegandFormat, "chkWiegandFCEnable", "Facility Code");
    chkWiegandFCEnable->setChecked(true);
    EditWiegandFCVal = MakeField(tsWiegandFormat, {"EditWiegandFCVal", TFieldEditType::etNumeric, 8,
                                                   nullptr, "", "", "1", true});
    EditWiegandFCLen = MakeField(tsWiegandFormat, {"EditWiegandFCLen", TFieldEditType::etNumeric, 0,
                                                   nullptr, "", " bits", "8", true});
    chkWiegandAddParity = MakeCheckBox(tsWiegandFormat, "chkWiegandAddParity",
                                       "Add parity bits (leading and trailing)");
    chkWiegandAddParity->setChecked(true);

    PanelSeparatorL1 = MakePanel(PanelLeft, "PanelSeparatorL1", TAlign::alTop, 5);
    PageControlPlateList =
        MakePageControl(PanelLeft, "PageControlPlateList", TAlign::alClient, 350);
    PageControlPlateList->setFocusPolicy(Qt::NoFocus);
    tsList = MakePage(PageControlPlateList, "tsList", "Match List");
    PlateList1 = MakeListView(tsList, "PlateList1",
                              {{"", 35}, {"number plate", 140}, {"wiegand id-number", 140}});
    KeepNumberColumnWide(*PlateList1, 0);

    // Centre column: the transfer buttons and the hidden debug switch.
    PanelCenter = MakePanel(client, "PanelCenter", TAlign::alLeft, 25);
    btnSend = MakeButton(PanelCenter, "btnSend", ">");
    btnSend->setToolTip("Send match-list to selected device");
    btnReceive = MakeButton(PanelCenter, "btnReceive", "<");
    btnReceive->setToolTip("Receive match-list from selected device");
    PanelHidden = MakePanel(PanelCenter, "PanelHidden", TAlign::alBottom, 15);
    btnDebug = MakeButton(PanelHidden, "btnDebug", "");
    btnDebug->setFlat(true);

    // Right column: the device input page above the device list.
    PanelRight = MakePanel(client, "PanelRight", TAlign::alLeft, 345);
    SetBorderWidth(PanelRight, kInnerBorder);
    PageControlEditHost = MakePageControl(PanelRight, "PageControlEditHost", TAlign::alTop, 175);
    tsEditHost = MakePage(PageControlEditHost, "tsEditHost", "Edit Device");
    auto* labelHosts = new QLabel("Tavrin Modules", tsEditHost);
    labelHosts->setObjectName("LabelHosts");
    SetAlign(labelHosts, TAlign::alTop);
    SetHeight(labelHosts, 13);
    LabelHosts = labelHosts;
    btnHostSearch = MakeButton(tsEditHost, "btnHostSearch", "Search Devices");
    btnHostSelectAll = MakeButton(tsEditHost, "btnHostSelectAll", "Select All");
    PanelHostEdit = MakePanel(tsEditHost, "PanelHostEdit", TAlign::alBottom, 80);
    EditHost =
        MakeField(PanelHostEdit,
                  {"EditHost", TFieldEditType::etString, 15,
                   "Hostname / ip-address:", " < enter hostname or ip-address >", "", "", false});
    btnHostAdd = MakeButton(PanelHostEdit, "btnHostAdd", "Add");
    PanelSeparatorR1 = MakePanel(PanelRight, "PanelSeparatorR1", TAlign::alTop, 5);
    PageControlHostList = MakePageControl(PanelRight, "PageControlHostList", TAlign::alClient, 350);
    PageControlHostList->setFocusPolicy(Qt::NoFocus);
    tsHosts = MakePage(PageControlHostList, "tsHosts", "Devices");
    HostList1 =
        MakeListView(tsHosts, "HostList1",
                     {{"", 25}, {"ip-address", 100}, {"hostname", 100}, {"mac-address", 120}});
    KeepNumberColumnWide(*HostList1, 0);
    HostList1->SetDragSource(true);

    setTabOrder(EditPlate, EditNumber);
    setTabOrder(EditNumber, btnAdd);
    setTabOrder(btnAdd, chkNoMatch);
    setTabOrder(chkNoMatch, EditNoMatch);
    setTabOrder(EditNoMatch, chkNoRead);
    setTabOrder(chkNoRead, EditNoRead);
    setTabOrder(EditNoRead, chkNoPlate);
    setTabOrder(chkNoPlate, EditNoPlate);
    setTabOrder(EditWiegandLen, chkWiegandFCEnable);
    setTabOrder(chkWiegandFCEnable, EditWiegandFCVal);
    setTabOrder(EditWiegandFCVal, EditWiegandFCLen);
    setTabOrder(EditWiegandFCLen, chkWiegandAddParity);
}

void TFormMain::CreateMenus()
{
    const auto action = [this](QMenu* menu, const char* name, const char* caption) {
        auto* item = new QAction(caption, this);
        item->setObjectName(name);
        menu->addAction(item);
        return item;
    };
    const auto menu = [this](const char* name, const char* caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        return m;
    };

    mnuFile = menu("mnuFile", "File");
    mnuFileNew = action(mnuFile, "mnuFileNew", "New");
    mnuFile->addSeparator();
    mnuFileOpen = action(mnuFile, "mnuFileOpen", "Open");
    mnuFileOpen->setShortcut(QKeySequence("Ctrl+O"));
    mnuFileSave = action(mnuFile, "mnuFileSave", "Save as ...");
    mnuFileSave->setShortcut(QKeySequence("Ctrl+S"));
    mnuFile->addSeparator();
    mnuFileImport = action(mnuFile, "mnuFileImport", "Import");
    mnuFile->addSeparator();
    mnuExit = action(mnuFile, "mnuExit", "E&xit");

    mnuTransfer = menu("mnuTransfer", "Transfer");
    mnuSend = action(mnuTransfer, "mnuSend", "Send match-list (from PC to device)");
    mnuTransfer->addSeparator();
    mnuReceive = action(mnuTransfer, "mnuReceive", "Receive match-list (from device to PC)");

    mnuPlate = menu("mnuPlate", "Plates");
    mnuPlateClearList = action(mnuPlate, "mnuPlateClearList", "Clear");
    mnuPlateDeleteSelection = action(mnuPlate, "mnuPlateDeleteSelection", "Delete Selected");
    mnuPlateDeleteDuplicates = action(mnuPlate, "mnuPlateDeleteDuplicates", "Delete Duplicates");

    mnuHost = menu("mnuHost", "Devices");
    // Guest mode hides everything between the two separators; both stay.
    mnuHost->setSeparatorsCollapsible(false);
    mnuHostSearch = action(mnuHost, "mnuHostSearch", "Search");
    mnuHostSearch->setShortcut(QKeySequence(Qt::Key_F5));
    mnuHost->addSeparator();
    mnuHostAssignIP = action(mnuHost, "mnuHostAssignIP", "Assign IP");
    mnuHostInitCfg = action(mnuHost, "mnuHostInitCfg", "Initialize config");
    mnuHostTelnet = action(mnuHost, "mnuHostTelnet", "View/edit config (telnet)");
    mnuHostPing = action(mnuHost, "mnuHostPing", "Ping");
    mnuHost->addSeparator();
    mnuHostInfo = action(mnuHost, "mnuHostInfo", "Get device info");
    mnuHostTerminal = action(mnuHost, "mnuHostTerminal", "Terminal");

    mnuOptions = menu("mnuOptions", "Options");
    mnuUsermode = mnuOptions->addMenu("User mode");
    mnuUsermode->setObjectName("mnuUsermode");
    auto* userModes = new QActionGroup(this);
    mnuUserGuest = action(mnuUsermode, "mnuUserGuest", "Guest");
    mnuUserExpert = action(mnuUsermode, "mnuUserExpert", "Expert");
    for (QAction* item : {mnuUserGuest, mnuUserExpert}) {
        item->setCheckable(true);
        userModes->addAction(item);
    }
    mnuUserGuest->setChecked(true);
    mnuUserGuest->setProperty("Tag", 0);
    mnuUserExpert->setProperty("Tag", 1);

    mnuHelp = menu("mnuHelp", "Help");
    mnuFileInfo = action(mnuHelp, "mnuFileInfo", "Import file format");
    mnuAbout = action(mnuHelp, "mnuAbout", "About ...");

    // The pop-ups show the main menu's actions, so a command and its shortcut exist once.
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    PopupMenu1->addActions({mnuPlateClearList, mnuPlateDeleteSelection, mnuPlateDeleteDuplicates});
    mnuGenerateDummyList =
        action(PopupMenu1, "mnuGenerateDummyList", "Generate dummy match list ...");

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName("PopupMenu2");
    PopupMenu2->setSeparatorsCollapsible(false);
    PopupMenu2->addAction(mnuHostSearch);
    PopupMenu2->addSeparator()->setObjectName("popHostSep1");
    PopupMenu2->addActions({mnuHostAssignIP, mnuHostInitCfg, mnuHostTelnet, mnuHostPing});
    PopupMenu2->addSeparator()->setObjectName("popHostSep2");
    PopupMenu2->addActions({mnuHostInfo, mnuHostTerminal});
}

}  // namespace pellicor
