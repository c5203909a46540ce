#include "about/UAbout.h"
#include "listmanager/UMain.h"
#include "matchlist/UImport.h"
#include "netsetup/UIP.h"
#include "netsetup/ULantronix.h"
#include "platform/ui/Guarded.h"

#include <QApplication>
#include <QIcon>

#include <memory>

// Tavrin List: the windows in their start order (the main window first, its start-up
// running as it is created), then the message loop until the main window closes; the
// settings and the list file are written once the loop has ended.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pellicor");
    QApplication::setApplicationDisplayName("Tavrin List");
    QIcon icon;
    for (const char* size : {"48", "32", "16"})
        icon.addFile(QString(":/icons/Pellicor-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    pellicor::TFormMain formMain;
    pellicor::FormMain = &formMain;
    std::unique_ptr<TFormAbout> formAbout;
    std::unique_ptr<TFormImport> formImport;
    std::unique_ptr<TFormIP> formIP;
    std::unique_ptr<TFormLantronix> formLantronix;
    ui::Guarded([&] {
        formAbout = std::make_unique<TFormAbout>(&formMain);
        FormAbout = formAbout.get();
    })();
    ui::Guarded([&] {
        formImport = std::make_unique<TFormImport>(&formMain);
        pellicor::FormImport = formImport.get();
    })();
    ui::Guarded([&] {
        formIP = std::make_unique<TFormIP>(&formMain);
        pellicor::FormIP = formIP.get();
    })();
    ui::Guarded([&] {
        formLantronix = std::make_unique<TFormLantronix>(&formMain);
        pellicor::FormLantronix = formLantronix.get();
    })();
    formMain.show();
    const int result = QApplication::exec();
    formMain.FormDestroy();
    pellicor::FormLantronix = nullptr;
    pellicor::FormIP = nullptr;
    pellicor::FormImport = nullptr;
    FormAbout = nullptr;
    pellicor::FormMain = nullptr;
    return result;
}
