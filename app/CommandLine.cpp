// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>

namespace {

// The options that Qt reads itself; they pass through to the application object.
const char* const qtOptionsWithValue[]
    = {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry", "qwindowtitle",
        "title", "qwindowicon", "icon", "display", "name", "session", "style", "stylesheet"};
const char* const qtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

void addQtOption(QCommandLineParser& parser, const char* name, const QString& valueName)
{
    QCommandLineOption option(QString::fromLatin1(name), QString(), valueName);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
}

void print(FILE* stream, const QString& text)
{
    std::fputs(qPrintable(text), stream);
}

QString describe(const char* variable)
{
    const QByteArray value = qgetenv(variable);
    return QString::fromLatin1(variable) + (value.isEmpty() ? QStringLiteral(" is not set") : u'=' + value);
}

// One line naming what is missing: no display at all, or one that did not answer.
void printNoWindowSystem(bool tried)
{
    print(stderr,
        tried ? QStringLiteral("korimo: cannot open a window on the display (%1, %2)\n")
                    .arg(describe("DISPLAY"), describe("WAYLAND_DISPLAY"))
              : QStringLiteral("korimo: cannot open a window: neither DISPLAY (X11) nor WAYLAND_DISPLAY (Wayland) "
                               "is set\n"));
}

// No display for a platform that needs one. The platform is -platform, else QT_QPA_PLATFORM,
// else Qt's default, the X11 one (which Qt itself swaps for Wayland in a Wayland session).
bool displayMissing(const QString& platformOption)
{
    const QString platforms = platformOption.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM") : platformOption;
    for (const QString& platform : platforms.split(u';', Qt::SkipEmptyParts)) {
        if (platform != u"xcb" && !platform.startsWith(u"wayland"))
            return false;
    }
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int usageError(const QString& error, const QString& usage)
{
    print(stderr, QStringLiteral("korimo: %1\n\n%2").arg(error, usage));
    return 2;
}

} // namespace

std::optional<int> readCommandLine(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    // Qt's options take one dash, as in -platform offscreen.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Korimo, a memory game: random capital letters appear one at a time and vanish;\n"
                       "type them back in order. The game's texts are in Simplified Chinese.\n"
                       "Qt's own options, such as -platform and -style, are accepted too."));
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit."));
    const QCommandLineOption version(
        {QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Show the version and exit."));
    parser.addOptions({help, version});
    for (const char* name : qtOptionsWithValue)
        addQtOption(parser, name, QStringLiteral("value"));
    for (const char* name : qtFlags)
        addQtOption(parser, name, QString());

    // Without an application object the parser does not know the program's name.
    const QString usage = parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("korimo"));
    if (!parser.parse(arguments))
        return usageError(parser.errorText(), usage);
    if (!parser.positionalArguments().isEmpty())
        return usageError(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().constFirst()), usage);
    if (parser.isSet(help)) {
        print(stdout, usage);
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("korimo " KORIMO_VERSION "\n"));
        return 0;
    }
    if (displayMissing(parser.value(QStringLiteral("platform")))) {
        printNoWindowSystem(false);
        return 1;
    }
    return std::nullopt;
}

void endWithoutWindowSystem(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // Qt's fatal message would suggest reinstalling; the warnings before it say which plugin failed.
    if (type != QtFatalMsg) {
        print(stderr, qFormatLogMessage(type, context, message) + u'\n');
        return;
    }
    printNoWindowSystem(true);
    std::_Exit(1);
}
