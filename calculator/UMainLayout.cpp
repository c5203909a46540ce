#include "calculator/ListColumns.h"
#include "calculator/UMain.h"
#include "platform/text/Cp1252.h"
#include "platform/toolkit/TAlign.h"
#include "platform/toolkit/TListView.h"
#include "platform/toolkit/TabSize.h"
#include "widgets/FieldEdit.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace quantivo {

namespace {

template <typename W> W* Named(W* widget, const char* name)
{
    widget->setObjectName(name);
    return widget;
}

QAction* AddEntry(QMenu* menu, const char* name, const char* caption,
                  const QKeySequence& shortcut = {})
{
    QAction* entry = menu->addAction(ToQString(caption));
    entry->setObjectName(name);
    entry->setShortcut(shortcut);
    return entry;
}

QPushButton* CalcButton(QWidget* panel, const char* name)
{
    auto* button = Named(new QPushButton(ToQString("Calc"), panel), name);
    SetBounds(button, 688, 24, 80, 23);
    SetAnchors(button, akTop | akRight);
    button->setDefault(true);
    button->setAutoDefault(false);
    return button;
}

template <size_t N>
TListView* ResultList(QWidget* page, const char* name, const std::array<const char*, N>& captions,
                      const std::array<int32_t, N>& widths)
{
    SetBorderWidth(page, 5);
    auto* list = Named(new TListView(page), name);
    SetAlign(list, TAlign::alClient);
    list->SetMultiSelect(false);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->header()->setContextMenuPolicy(Qt::CustomContextMenu);
    for (size_t column = 0; column < N; ++column)
        list->AddColumn(captions[column], widths[column]);
    return list;
}

}  // namespace

void TFormMain::CreateLayout()
{
    setObjectName("FormMain");
    resize(800, 600);
    QFont font = this->font();
    font.setPixelSize(11);  // 8 points on a 96 dpi screen
    setFont(font);
    auto* client = new QWidget(this);
    setCentralWidget(client);
    // The right-anchored controls keep the distances they had in a window 800 pixels wide
    // with its frame, whose client area is 784 wide; the layout keeps them from there.
    client->resize(784, 520);
    SetBorderWidth(client, 5);

    Panel1 = Named(new QWidget(client), "Panel1");
    SetAlign(Panel1, TAlign::alTop);
    SetHeight(Panel1, 60);
    EditPlate = Named(new TFieldEdit(Panel1), "EditPlate");
    EditPlate->BeginLoad();
    EditPlate->SetBounds(5, 25, 675, 21);
    SetAnchors(EditPlate, akLeft | akTop | akRight);
    EditPlate->SetLabelCaption("Number Plate:");
    EditPlate->SetLabelPosition(TLabelPosition::lpTopLeft);
    EditPlate->SetLabelMargin(3);
    EditPlate->SetEmptyText(" < enter plate >");
    EditPlate->SetEditType(TFieldEditType::etString);
    EditPlate->SetMaxLength(10);
    EditPlate->SetReturnIsTab(false);
    EditPlate->Loaded();
    btnCalc1 = CalcButton(Panel1, "btnCalc1");
    setTabOrder(EditPlate, btnCalc1);

    Panel2 = Named(new QWidget(client), "Panel2");
    SetAlign(Panel2, TAlign::alTop);
    SetHeight(Panel2, 120);
    Label2 = Named(new QLabel(ToQString("Number plates:"), Panel2), "Label2");
    SetBounds(Label2, 5, 8, Label2->sizeHint().width(), Label2->sizeHint().height());
    EditPlates = Named(new QPlainTextEdit(Panel2), "EditPlates");
    SetBounds(EditPlates, 5, 25, 675, 89);
    SetAnchors(EditPlates, akLeft | akTop | akRight);
    EditPlates->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    EditPlates->setLineWrapMode(QPlainTextEdit::NoWrap);
    EditPlates->setTabChangesFocus(true);
    btnCalc2 = CalcButton(Panel2, "btnCalc2");
    setTabOrder(EditPlates, btnCalc2);

    PageControl1 = Named(new QTabWidget(client), "PageControl1");
    SetAlign(PageControl1, TAlign::alClient);
    PageControl1->setFocusPolicy(Qt::NoFocus);
    PageControl1->tabBar()->setFocusPolicy(Qt::NoFocus);
    SetTabSize(*PageControl1, 180, 30);
    tsWG26 = Named(new QWidget, "tsWG26");
    tsWG64 = Named(new QWidget, "tsWG64");
    PageControl1->addTab(tsWG26, ToQString("Wiegand 26-bit (SHA-1)"));
    PageControl1->addTab(tsWG64, ToQString("Wiegand 64-bit"));
    LV1 = ResultList(tsWG26, "LV1", LV1Captions, LV1InitialWidths);
    LV2 = ResultList(tsWG64, "LV2", LV2Captions, LV2InitialWidths);
    PopGrid1 = Named(new QMenu(this), "PopGrid1");
    PopGrid2 = Named(new QMenu(this), "PopGrid2");

    setTabOrder(btnCalc1, EditPlates);
    setTabOrder(btnCalc2, LV1);

    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    mnuFile = Named(bar->addMenu(ToQString("File")), "mnuFile");
    mnuFileNew = AddEntry(mnuFile, "mnuFileNew", "New", Qt::CTRL | Qt::Key_N);
    mnuFileOpen = AddEntry(mnuFile, "mnuFileOpen", "Open", Qt::CTRL | Qt::Key_O);
    mnuFileSave = AddEntry(mnuFile, "mnuFileSave", "Save as ...", Qt::CTRL | Qt::Key_S);
    N1 = mnuFile->addSeparator();
    N1->setObjectName("N1");
    mnuExit = AddEntry(mnuFile, "mnuExit", "Exit");
    // The shortcuts work wherever the focus is, also before the menu was ever opened.
    addActions({mnuFileNew, mnuFileOpen, mnuFileSave});

    mnuView = Named(bar->addMenu(ToQString("View")), "mnuView");
    mnuView1 = Named(mnuView->addMenu(ToQString("Columns")), "mnuView1");
    mnuView2 = Named(mnuView->addMenu(ToQString("Columns")), "mnuView2");
    mnuViewMulti = AddEntry(mnuView, "mnuViewMulti", "Multiple number plates");
    mnuViewMulti->setCheckable(true);

    mnuHelp = Named(bar->addMenu(ToQString("Help")), "mnuHelp");
    Howtocalculate1 = AddEntry(mnuHelp, "Howtocalculate1", "How to calculate");
    mnuAbout = AddEntry(mnuHelp, "mnuAbout", "About ...");
}

}  // namespace quantivo
