#include "calculator/Program.h"

#include "about/UAbout.h"
#include "calculator/UMain.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/SessionEnd.h"

#include <QApplication>

#include <memory>

namespace quantivo {

int RunProgram()
{
    ui::SessionEnd sessionEnd;
    std::unique_ptr<TFormMain> formMain;
    std::unique_ptr<TFormAbout> formAbout;
    bool created = false;
    ui::Guarded([&] {
        formMain = std::make_unique<TFormMain>();
        formAbout = std::make_unique<TFormAbout>(formMain.get());
        FormAbout = formAbout.get();
        created = true;
    })();
    if (!created)
        return 1;
    formMain->show();
    const int result = sessionEnd.Exec();
    FormAbout = nullptr;
    formAbout.reset();
    return result;
}

}  // namespace quantivo
