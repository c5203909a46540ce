#include "netsetup/UIP.h"

#include "platform/net/InetAddress.h"
#include "platform/text/Cp1252.h"
#include "platform/text/Format.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/Ui.h"
#include "widgets/FieldEdit.h"

#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <vector>

namespace {

constexpr TColor kPanelGrey = 0xF0F0F0;
constexpr int kBoxWidth = 32;
constexpr int kBoxHeight = 21;
constexpr int kBoxStep = 44;
constexpr int kOctetLeft = 100;
constexpr int kMacLeft = 12;

// The class library's delimited-text split: parts end at the delimiter and at blanks and
// control characters; blanks before a part are skipped, and a delimiter at the very end
// adds an empty part.
std::vector<std::string> SplitDelimited(const std::string& text, char delimiter)
{
    std::vector<std::string> parts;
    const auto blank = [](char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; };
    size_t p = 0;
    const size_t n = text.size();
    while (p < n && blank(text[p]))
        ++p;
    while (p < n) {
        const size_t start = p;
        while (p < n && !blank(text[p]) && text[p] != delimiter)
            ++p;
        parts.push_back(text.substr(start, p - start));
        while (p < n && blank(text[p]))
            ++p;
        if (p < n && text[p] == delimiter) {
            if (p + 1 == n)
                parts.emplace_back();
            do {
                ++p;
            } while (p < n && blank(text[p]));
        }
    }
    return parts;
}

template <size_t N>
void Fill(const std::array<TFieldEdit*, N>& boxes, const std::string& text, char delimiter)
{
    const std::vector<std::string> parts = SplitDelimited(text, delimiter);
    for (size_t i = 0; i < N && i < parts.size(); ++i)
        boxes[i]->SetText(parts[i]);
}

template <size_t N> std::string Joined(const std::array<TFieldEdit*, N>& boxes, char delimiter)
{
    std::string text;
    for (size_t i = 0; i < N; ++i) {
        if (i > 0)
            text += delimiter;
        text += boxes[i]->Text();
    }
    return text;
}

template <size_t N> void ShowBoxes(const std::array<TFieldEdit*, N>& boxes, bool visible)
{
    for (TFieldEdit* box : boxes)
        box->SetVisible(visible);
}

}  // namespace

TFormIP::TFormIP(QWidget* parent)
    : QDialog(parent), PanelMain(new QWidget(this)),
      chkAutoIP(new QRadioButton(ToQString("Obtain an IP address automatically"), PanelMain)),
      chkFixedIP(new QRadioButton(ToQString("Assign a specific IP address"), PanelMain)),
      grpIP(new QGroupBox(ToQString("IP address"), this)),
      LabelIP(new QLabel(ToQString("IP address:"), grpIP)),
      LabelNM(new QLabel(ToQString("Subnet mask:"), grpIP)),
      LabelGW(new QLabel(ToQString("Gateway:"), grpIP)), EditIP(CreateOctetRow("EditIP", 24)),
      EditNM(CreateOctetRow("EditNM", 52)), EditGW(CreateOctetRow("EditGW", 80)),
      PanelMAC(new QGroupBox(ToQString(" MAC address "), this)), EditMAC{},
      PanelBottom(new QWidget(this)), btnOK(new QPushButton(ToQString("OK"), PanelBottom)),
      btnCancel(new QPushButton(ToQString("Cancel"), PanelBottom))
{
    setObjectName("FormIP");
    PanelMain->setObjectName("PanelMain");
    chkAutoIP->setObjectName("chkAutoIP");
    chkFixedIP->setObjectName("chkFixedIP");
    grpIP->setObjectName("grpIP");
    LabelIP->setObjectName("LabelIP");
    LabelNM->setObjectName("LabelNM");
    LabelGW->setObjectName("LabelGW");
    PanelMAC->setObjectName("PanelMAC");
    PanelBottom->setObjectName("PanelBottom");
    btnOK->setObjectName("btnOK");
    btnCancel->setObjectName("btnCancel");

    setWindowTitle(ToQString("Assign IP"));
    setFixedSize(300, 290);
    PanelMain->setGeometry(8, 4, 284, 56);
    chkAutoIP->setGeometry(8, 6, 270, 20);
    chkFixedIP->setGeometry(8, 30, 270, 20);
    grpIP->setGeometry(8, 64, 284, 110);
    LabelIP->setGeometry(12, 26, 84, 17);
    LabelNM->setGeometry(12, 54, 84, 17);
    LabelGW->setGeometry(12, 82, 84, 17);
    PanelMAC->setGeometry(8, 180, 284, 56);
    for (size_t i = 0; i < EditMAC.size(); ++i) {
        TFieldEdit* box = CreateBox(PanelMAC, "EditMAC" + std::to_string(i + 1));
        box->SetEditType(TFieldEditType::etHex);
        box->SetMaxLength(2);
        box->SetLengthLimit(2);
        if (i > 0)
            box->SetLabelCaption("-");
        box->SetBounds(kMacLeft + static_cast<int>(i) * kBoxStep, 24, kBoxWidth, kBoxHeight);
        // The maker's part of the address is fixed.
        if (i < 3) {
            box->SetEnabled(false);
            box->setFocusPolicy(Qt::NoFocus);
        }
        box->Loaded();
        EditMAC[i] = box;
    }
    PanelBottom->setGeometry(8, 244, 284, 40);
    btnOK->setGeometry(112, 8, 80, 26);
    btnCancel->setGeometry(200, 8, 80, 26);
    btnOK->setDefault(true);
    chkAutoIP->setChecked(true);

    connect(btnOK, &QPushButton::clicked, this, ui::Guarded([this] { btnOKClick(); }));
    connect(btnCancel, &QPushButton::clicked, this, ui::Guarded([this] { reject(); }));
    for (QRadioButton* radio : {chkAutoIP, chkFixedIP})
        connect(radio, &QRadioButton::toggled, this, ui::Guarded([this] { DoUpdateUI(); }));

    FormCreate();
}

TFormIP::~TFormIP() = default;

TFieldEdit* TFormIP::CreateBox(QWidget* parent, const std::string& name)
{
    auto* box = new TFieldEdit(parent);
    box->setObjectName(QString::fromStdString(name));
    box->BeginLoad();
    box->SetEditAlign(TEditAlign::eaCenter);
    box->SetTabOnFullLength(true);
    box->SetShowError(true);
    box->SetDisabledColor(kPanelGrey);
    box->SetLabelPosition(TLabelPosition::lpLeftCenter);
    box->SetLabelMargin(2);
    return box;
}

TFormIP::TOctetRow TFormIP::CreateOctetRow(const char* name, int top)
{
    TOctetRow row{};
    for (size_t i = 0; i < row.size(); ++i) {
        TFieldEdit* box = CreateBox(grpIP, name + std::to_string(i + 1));
        box->SetEditType(TFieldEditType::etNumeric);
        box->SetMaxLength(3);
        box->SetLengthLimit(3);
        box->SetOnValueValidate(
            ui::Guarded([this](TFieldEdit& sender, const std::string& value, bool& isValid) {
                OnValidateDecimal(sender, value, isValid);
            }));
        if (i > 0)
            box->SetLabelCaption(".");
        box->SetBounds(kOctetLeft + static_cast<int>(i) * kBoxStep, top, kBoxWidth, kBoxHeight);
        box->SetText("0");
        box->Loaded();
        row[i] = box;
    }
    return row;
}

void TFormIP::FormCreate()
{
    EnableAddressEdits();
}

void TFormIP::DoUpdateUI()
{
    EnableAddressEdits();
}

void TFormIP::mousePressEvent(QMouseEvent* e)
{
    QDialog::mousePressEvent(e);
    ui::Guarded([this] { DoUpdateUI(); })();
}

void TFormIP::EnableAddressEdits()
{
    const bool fixed = chkFixedIP->isChecked();
    for (const TOctetRow* row : {&EditIP, &EditNM, &EditGW})
        for (TFieldEdit* box : *row) {
            // Disabling keeps the background of the moment as the box's normal colour, so
            // the error mark goes first; enabling restores that colour, so it comes after.
            if (fixed) {
                box->SetEnabled(true);
                box->SetErrorState(!DecimalOctet(box->Text()));
            } else {
                box->SetErrorState(false);
                box->SetEnabled(false);
            }
        }
}

void TFormIP::OnValidateDecimal(TFieldEdit& sender, const std::string& value, bool& IsValid)
{
    IsValid = !sender.Enabled() || DecimalOctet(value).has_value();
}

TFieldEdit* TFormIP::FirstInvalidAddressBox() const
{
    for (const TOctetRow* row : {&EditIP, &EditNM, &EditGW})
        for (TFieldEdit* box : *row)
            if (box->isVisibleTo(this) && box->Enabled() && !DecimalOctet(box->Text()))
                return box;
    return nullptr;
}

void TFormIP::btnOKClick()
{
    TFieldEdit* invalid = FirstInvalidAddressBox();
    if (!invalid) {
        accept();
        return;
    }
    invalid->setFocus();
    invalid->selectAll();
    ui::ShowMessage(ui::MsgKind::Error,
                    Format("Error: \"%s\" is no number from 0 to 255", invalid->Text()));
}

bool TFormIP::ShowAssignIPDialog(bool AutoIP, std::string& IP, std::string& Mask,
                                 std::string& Gateway, std::string& MAC)
{
    (AutoIP ? chkAutoIP : chkFixedIP)->setChecked(true);
    EnableAddressEdits();
    Fill(EditIP, IP, '.');
    const bool withMask = !Mask.empty();
    ShowBoxes(EditNM, withMask);
    ShowBoxes(EditGW, withMask);
    if (withMask) {
        Fill(EditNM, Mask, '.');
        Fill(EditGW, Gateway, '.');
    }
    PanelMAC->setVisible(MAC.empty());
    EditMAC[0]->SetText("00");
    EditMAC[1]->SetText("20");
    EditMAC[2]->SetText("4a");
    for (size_t i = 3; i < EditMAC.size(); ++i)
        EditMAC[i]->SetText("");

    if (ui::CurrentUi().ShowModal(*this) != QDialog::Accepted)
        return false;
    IP = chkAutoIP->isChecked() ? "0.0.0.0" : Joined(EditIP, '.');
    if (withMask) {
        Mask = Joined(EditNM, '.');
        Gateway = Joined(EditGW, '.');
    }
    if (MAC.empty())
        MAC = Joined(EditMAC, '-');
    return true;
}
