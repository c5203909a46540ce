#pragma once

#include <QDialog>

#include <array>
#include <string>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;
class TFieldEdit;

// The Assign IP dialog: automatic or fixed address, subnet mask and gateway as four octet
// boxes each, and the last three bytes of the MAC address when the device row has none.
// Created at program start and kept until exit; the boxes keep what the last use left in
// them where a use does not fill them.
class TFormIP final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormIP)

public:
    explicit TFormIP(QWidget* parent = nullptr);
    ~TFormIP() override;

    // Fills the dialog and shows it modally. An empty Mask hides the mask and gateway
    // boxes; an empty MAC asks for the MAC. On OK the shown values are written back
    // (IP "0.0.0.0" for automatic assignment) and true is returned; otherwise nothing
    // changes.
    bool ShowAssignIPDialog(bool AutoIP, std::string& IP, std::string& Mask, std::string& Gateway,
                            std::string& MAC);

    void DoUpdateUI();
    // The address boxes are enabled exactly while a fixed address is chosen.
    void EnableAddressEdits();
    // An address box holds a decimal number from 0 to 255 (DecimalOctet). A disabled box
    // counts as valid: its text is not used, and it carries no error mark, which disabling
    // would otherwise keep as the box's own colour.
    void OnValidateDecimal(TFieldEdit& sender, const std::string& value, bool& IsValid);
    // OK closes the dialog only while every address box in use (shown and enabled) holds
    // a decimal number from 0 to 255; otherwise the first other one takes the focus and an
    // error box names its text.
    void btnOKClick();

protected:
    void mousePressEvent(QMouseEvent* e) override;

private:
    using TOctetRow = std::array<TFieldEdit*, 4>;

    void FormCreate();
    TOctetRow CreateOctetRow(const char* name, int top);
    TFieldEdit* CreateBox(QWidget* parent, const std::string& name);
    // The first address box in use whose text is no address part; nullptr when none.
    TFieldEdit* FirstInvalidAddressBox() const;

    QWidget* PanelMain;
    QRadioButton* chkAutoIP;
    QRadioButton* chkFixedIP;
    QGroupBox* grpIP;
    QLabel* LabelIP;
    QLabel* LabelNM;
    QLabel* LabelGW;
    TOctetRow EditIP;
    TOctetRow EditNM;
    TOctetRow EditGW;
    QGroupBox* PanelMAC;
    std::array<TFieldEdit*, 6> EditMAC;
    QWidget* PanelBottom;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};
