#include "accessible_controls.h"
#include "font_preload.h"
#include "form1.h"
#include "hidden_browser.h"
#include "identity.h"
#include "launcher.h"
#include "list_conversion.h"
#include "look.h"
#include "message_boxes.h"
#include "module_loader.h"
#include "promotion_panel.h"
#include "qt_texts.h"
#include "verify_window_opener.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>

#include <future>

int main(int argc, char* argv[]) {
    // The font configuration is read while Qt connects to the display.
    std::future<void> fonts = look::preloadFonts();
    // Set first, so that the application object never builds the platform's default style.
    QApplication::setStyle(look::createDesignStyle());
    QApplication app(argc, argv);
    installItalianQtTexts(app);
    accessibility::install();
    fonts.wait();
    // Qt lists the installed faces on a thread while this one names the application and waits
    // for the accessibility bridge, which asks the session bus whether a screen reader is running
    // (with no bus, libdbus first tries to start one). The first widget would wait there anyway.
    std::future<void> fontList = look::listFonts();
    QApplication::setApplicationName(QString::fromLatin1(identity::kProjectName));
    QApplication::setApplicationVersion(QString::fromLatin1(identity::kVersion));
    QApplication::setOrganizationName(QStringLiteral("Brivanta"));
    // The desktop matches the windows to the menu entry, and so to its name and icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(identity::kDesktopEntry));
    QAccessible::isActive();
    fontList.wait();
    look::registerFonts();
    // The designs' default face serves the message boxes and menus too, as on Windows; it also
    // spares loading a face that no control shows.
    QApplication::setFont(look::vbFont("MS Sans Serif", 8.25));

    const std::unique_ptr<shell::Launcher> launcher = shell::createSystemLauncher();
    const std::unique_ptr<shell::HiddenBrowser> browser = shell::createHiddenBrowser();
    QtMessageBoxes messages;
    VerifyWindowOpener verifyWindow(*QGuiApplication::clipboard());
    ListConversion lists(messages, *launcher, ListConversion::systemFileChooser(),
                         ListConversion::moduleConverter(shell::programModuleFolders()));
    Form1Tools tools;
    tools.verifyIban = [&verifyWindow](QWidget* mainWindow, const QString& ibanText) {
        verifyWindow.open(mainWindow, ibanText);
    };
    tools.convertList = [&lists](QWidget* mainWindow) { lists.chooseAndConvert(mainWindow); };
    tools.convertFiles = [&lists](QWidget* mainWindow, const QStringList& paths) {
        lists.convert(mainWindow, paths);
    };
    Form1 form(messages, std::move(tools));
    PromotionPanel promotion(form.promotionControls(), *launcher, *browser, messages, &form);
    promotion.Form_Load();
    form.show();
    return QApplication::exec();
}
