#include "about/VersInfo.h"

#include "platform/text/Cp1252.h"
#include "platform/text/Errors.h"
#include "platform/file/ProgramPath.h"
#include "platform/text/FileName.h"
#include "platform/text/Format.h"
#include "platform/versionres/VersionReader.h"

#include <QVariant>

namespace {

constexpr std::array<const char*, 8> kKeys = {
    "CompanyName",    "FileDescription",  "FileVersion", "InternalName",
    "LegalCopyRight", "OriginalFileName", "ProductName", "ProductVersion",
};

bool ValidIndex(int index)
{
    return index >= 1 && index <= static_cast<int>(kKeys.size());
}

}  // namespace

TVersionInfo::TVersionInfo(QObject* owner) : QObject(owner)
{
    LoadFile("");
}

void TVersionInfo::LoadFile(const std::string& fileName)
{
    versionBlock_.clear();
    firstTranslation_.reset();
    fileName_ = fileName.empty() ? RunningProgramFileName() : fileName;

    const uint32_t size = versionres::GetFileVersionInfoSize(fileName_);
    if (size == 0)
        return;
    std::vector<uint8_t> block(size);
    if (!versionres::GetFileVersionInfo(fileName_, block))
        throw EError(FileMessage("Cannot retrieve Version Information for %s", {fileName_}));
    versionBlock_ = std::move(block);

    // A translation table shorter than one entry counts as none.
    const auto translation = versionres::VerQueryValue(versionBlock_, "\\VarFileInfo\\Translation");
    if (translation && translation->size() >= 4) {
        const auto& t = *translation;
        firstTranslation_ = Translation{static_cast<uint16_t>(t[0] | (t[1] << 8)),
                                        static_cast<uint16_t>(t[2] | (t[3] << 8))};
    }
    UpdateControls();
}

std::string TVersionInfo::GetKey(const std::string& key) const
{
    if (versionBlock_.empty() || !firstTranslation_)
        return {};
    const std::string path = Format("\\StringFileInfo\\%4.4x%4.4x\\%s", firstTranslation_->language,
                                    firstTranslation_->codePage, key);
    return versionres::VerQueryText(versionBlock_, path).value_or("");
}

std::string TVersionInfo::GetKeyByIndex(int index) const
{
    return ValidIndex(index) ? GetKey(kKeys[index - 1]) : std::string();
}

QWidget* TVersionInfo::GetCtl(int index) const
{
    return ValidIndex(index) ? links_[index - 1].data() : nullptr;
}

void TVersionInfo::SetCtl(int index, QWidget* ctl)
{
    if (!ValidIndex(index))
        return;
    links_[index - 1] = ctl;
    if (ctl)
        connect(ctl, &QObject::destroyed, this, &TVersionInfo::ControlDestroyed,
                Qt::UniqueConnection);
    UpdateControls();
}

// Without a block the linked controls keep the texts they were designed with.
void TVersionInfo::UpdateControls()
{
    if (versionBlock_.empty())
        return;
    for (int i = 1; i <= kLinkCount; ++i) {
        if (QWidget* ctl = GetCtl(i))
            SetControlText(ctl, GetKeyByIndex(i));
    }
}

void TVersionInfo::SetControlText(QWidget* ctl, const std::string& text)
{
    if (!ctl)
        return;
    for (const char* property : {"Caption", "Text", "text"}) {
        if (ctl->metaObject()->indexOfProperty(property) >= 0) {
            ctl->setProperty(property, ToQString(text));
            return;
        }
    }
}

void TVersionInfo::Notification(QObject* component, TOperation operation)
{
    if (operation != TOperation::Remove)
        return;
    for (QPointer<QWidget>& link : links_) {
        if (link.data() == component)
            link.clear();
    }
}

void TVersionInfo::ControlDestroyed(QObject* ctl)
{
    Notification(ctl, TOperation::Remove);
}
