// TFieldEdit: keeping the window text between runs in an initialisation file or in the
// per-user registry, under the edit's object name.
#include "widgets/FieldEdit.h"

#include "platform/inifile/IniFile.h"
#include "platform/registry/Registry.h"
#include "platform/text/Cp1252.h"
#include "platform/file/FileSystem.h"
#include "platform/file/ProgramPath.h"
#include "platform/ui/Guarded.h"

namespace {

// Marks "nothing stored": such a stored value is never restored.
const char* const kNothingStored = "@";

// Opens Key below the current user (created when missing), then Section below it.
bool OpenSection(TRegistry& reg, const TPersistence& p, bool canCreate)
{
    reg.OpenKey("\\" + p.Key, true);
    return reg.OpenKey(p.Section, canCreate);
}

}  // namespace

// Qt deletes a widget's children after the widget has announced its own end, so the
// edit still lives when its holding window goes and stores its text then. The holder is
// the parent: whatever window above it goes takes the parent along first.
void TFieldEdit::WatchHoldingWindow()
{
    disconnect(holderGone_);
    if (QWidget* holder = parentWidget())
        holderGone_ =
            connect(holder, &QObject::destroyed, this, ui::Guarded([this] { SavePersistence(); }));
}

std::string TFieldEdit::PersistenceIniFileName()
{
    // The settings file beside the program: on this platform names keep their case,
    // so the extension is the settings file's own.
    if (persistence_.Key.empty())
        persistence_.Key = ChangeFileExt(ProgramFileName(), ".ini");
    return persistence_.Key;
}

void TFieldEdit::LoadPersistence()
{
    if (!persistence_.Enable)
        return;
    const std::string name = ToCp1252(objectName());
    std::string v = kNothingStored;
    if (persistence_.Location == TPersistenceLocation::plRegistry) {
        TRegistry reg;
        if (OpenSection(reg, persistence_, false) && reg.ValueExists(name))
            v = reg.ReadString(name);
    } else {
        v = TIniFile(PersistenceIniFileName()).ReadString(persistence_.Section, name, v);
    }
    if (v != kNothingStored)
        SetWindowText(v);
}

void TFieldEdit::SavePersistence()
{
    if (!persistence_.Enable)
        return;
    const std::string name = ToCp1252(objectName());
    const std::string v = prefix_ + Text() + suffix_;
    if (persistence_.Location == TPersistenceLocation::plRegistry) {
        TRegistry reg;
        OpenSection(reg, persistence_, true);
        reg.WriteString(name, v);
    } else {
        TIniFile(PersistenceIniFileName()).WriteString(persistence_.Section, name, v);
    }
}
