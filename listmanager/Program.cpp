#include "listmanager/Program.h"

#include "about/UAbout.h"
#include "listmanager/UMain.h"
#include "matchlist/UImport.h"
#include "netsetup/UIP.h"
#include "netsetup/ULantronix.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/SessionEnd.h"

#include <QApplication>

#include <memory>

namespace pellicor {

int RunProgram()
{
    ui::SessionEnd sessionEnd;
    TFormMain formMain;
    FormMain = &formMain;
    std::unique_ptr<TFormAbout> formAbout;
    std::unique_ptr<TFormImport> formImport;
    std::unique_ptr<TFormIP> formIP;
    std::unique_ptr<TFormLantronix> formLantronix;
    ui::Guarded([&] {
        formAbout = std::make_unique<TFormAbout>(&formMain);
        ::FormAbout = formAbout.get();
    })();
    ui::Guarded([&] {
        formImport = std::make_unique<TFormImport>(&formMain);
        FormImport = formImport.get();
    })();
    ui::Guarded([&] {
        formIP = std::make_unique<TFormIP>(&formMain);
        FormIP = formIP.get();
    })();
    ui::Guarded([&] {
        formLantronix = std::make_unique<TFormLantronix>(&formMain);
        FormLantronix = formLantronix.get();
    })();
    formMain.show();
    const int result = sessionEnd.Exec();
    formMain.FormDestroy();
    FormLantronix = nullptr;
    FormIP = nullptr;
    FormImport = nullptr;
    ::FormAbout = nullptr;
    FormMain = nullptr;
    return result;
}

}  // namespace pellicor
