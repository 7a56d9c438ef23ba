#include "about_dialog.h"
#include "accessible_controls.h"
#include "command_line.h"
#include "font_preload.h"
#include "form1.h"
#include "hidden_browser.h"
#include "identity.h"
#include "launcher.h"
#include "list_conversion.h"
#include "look.h"
#include "message_boxes.h"
#include "module_loader.h"
#include "program_help.h"
#include "promotion_panel.h"
#include "qt_texts.h"
#include "verify_window_opener.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QTimer>

#include <future>

int main(int argc, char* argv[]) {
    // Help, the version and refusals need no display: they are settled before Qt starts.
    QStringList givenArguments;
    for (int i = 1; i < argc; ++i) {
        givenArguments << QString::fromLocal8Bit(argv[i]);
    }
    if (const CommandLine given = CommandLine::parse(givenArguments); !given.opensWindow()) {
        return given.print();
    }
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
    tools.showHelp = [&launcher, &messages](QWidget* mainWindow) {
        showGuide(mainWindow, *launcher, messages);
    };
    tools.showAbout = [&launcher](QWidget* mainWindow) {
        AboutDialog(*launcher, mainWindow).exec();
    };
    Form1 form(messages, tools);
    PromotionPanel promotion(form.promotionControls(), *launcher, *browser, messages, &form);
    promotion.Form_Load();
    form.show();

    // Qt's own reading of the arguments: file names in any script, on every system. What they
    // ask for starts once the window is on screen.
    const CommandLine line = CommandLine::parse(QCoreApplication::arguments().mid(1));
    QTimer::singleShot(0, &form, [&line, &tools, &form] {
        switch (line.action()) {
        case CommandLine::Action::ConvertFiles: {
            QStringList files;
            for (const QString& file : line.files()) {
                files << QFileInfo(file).absoluteFilePath();
            }
            tools.convertFiles(&form, files);
            break;
        }
        case CommandLine::Action::ChooseList:
            tools.convertList(&form);
            break;
        case CommandLine::Action::VerifyIban:
            tools.verifyIban(&form, line.iban());
            break;
        default:
            break;
        }
    });
    return QApplication::exec();
}
