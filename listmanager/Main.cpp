#include "listmanager/UMain.h"

#include <QApplication>

// Tavrin List: the main window first, then the message loop until it closes; the list
// file and settings are written once the loop has ended.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pellicor");
    QApplication::setApplicationDisplayName("Tavrin List");
    pellicor::TFormMain formMain;
    formMain.show();
    const int result = QApplication::exec();
    formMain.FormDestroy();
    return result;
}
