#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Reads the version block of a program file and writes chosen values of it into linked
// controls of its window. Links are weak: a control that goes away clears every link to it.
class TVersionInfo final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TVersionInfo)

public:
    enum class TOperation { Insert, Remove };

    // Reads the running program's block. Raises EError "Cannot retrieve Version
    // Information for <file>" when the file has a block that cannot be read.
    explicit TVersionInfo(QObject* owner);

    // An empty name stands for the running program's file. A file without a block leaves
    // the linked controls as they are; an unreadable block raises as the constructor does.
    void LoadFile(const std::string& fileName);
    // The key's value in the first translation's string table; empty when there is none.
    std::string GetKey(const std::string& key) const;
    // index 1 to 8, in the order of the links below; another index reads as empty.
    std::string GetKeyByIndex(int index) const;

    // index 1 = CtlCompanyName ... 8 = CtlProductVersion; another index reads as none and
    // writes nothing. Every write fills the linked controls again.
    QWidget* GetCtl(int index) const;
    void SetCtl(int index, QWidget* ctl);
    // Writes each linked control's value; with no block held, writes nothing.
    void UpdateControls();
    // Sets the control's "Caption" property, else its "Text" (Qt's own widgets spell it
    // "text"); a control with neither, or none, is left alone.
    static void SetControlText(QWidget* ctl, const std::string& text);
    // A control being removed clears every link to it.
    void Notification(QObject* component, TOperation operation);

    QWidget* CtlCompanyName() const { return GetCtl(1); }
    void SetCtlCompanyName(QWidget* ctl) { SetCtl(1, ctl); }
    QWidget* CtlFileDescription() const { return GetCtl(2); }
    void SetCtlFileDescription(QWidget* ctl) { SetCtl(2, ctl); }
    QWidget* CtlFileVersion() const { return GetCtl(3); }
    void SetCtlFileVersion(QWidget* ctl) { SetCtl(3, ctl); }
    QWidget* CtlInternalName() const { return GetCtl(4); }
    void SetCtlInternalName(QWidget* ctl) { SetCtl(4, ctl); }
    QWidget* CtlLegalCopyRight() const { return GetCtl(5); }
    void SetCtlLegalCopyRight(QWidget* ctl) { SetCtl(5, ctl); }
    QWidget* CtlOriginalFileName() const { return GetCtl(6); }
    void SetCtlOriginalFileName(QWidget* ctl) { SetCtl(6, ctl); }
    QWidget* CtlProductName() const { return GetCtl(7); }
    void SetCtlProductName(QWidget* ctl) { SetCtl(7, ctl); }
    QWidget* CtlProductVersion() const { return GetCtl(8); }
    void SetCtlProductVersion(QWidget* ctl) { SetCtl(8, ctl); }

private:
    struct Translation {
        uint16_t language;
        uint16_t codePage;
    };
    static constexpr int kLinkCount = 8;

    void ControlDestroyed(QObject* ctl);

    std::string fileName_;
    std::vector<uint8_t> versionBlock_;
    std::optional<Translation> firstTranslation_;
    std::array<QPointer<QWidget>, kLinkCount> links_;
};
