#include "platform/HelpTopics.h"

#include <QMap>
#include <QStringList>

namespace {

const QMap<int, QString>& numberedPages()
{
    static const QMap<int, QString> pages{
        {1, QStringLiteral("main.html")},       {4, QStringLiteral("settings.html")},
        {5, QStringLiteral("entry.html")},      {7, QStringLiteral("tests.html")},
        {8, QStringLiteral("roster.html")},     {11, QStringLiteral("attendance.html")},
    };
    return pages;
}

const QMap<QString, QString>& dialogPages()
{
    static const QMap<QString, QString> pages{
        {QStringLiteral("FixedValuesDialog"), QStringLiteral("entry.html#fixed-values")},
        {QStringLiteral("OtherClassTestPicker"), QStringLiteral("entry.html#other-class")},
        {QStringLiteral("TestPickerDialog"), QStringLiteral("overall-tally.html#choose-tests")},
        {QStringLiteral("CountPrompt"), QStringLiteral("attendance.html#count-prompt")},
        {QStringLiteral("PrintSetupDialog"), QStringLiteral("printing.html#printer")},
        {QStringLiteral("PrintConfirmDialog"), QStringLiteral("printing.html#confirm")},
    };
    return pages;
}

}  // namespace

QString HelpTopics::contentsPage()
{
    return QStringLiteral("index.html");
}

QString HelpTopics::pageOf(int topic)
{
    return numberedPages().value(topic, contentsPage());
}

QList<int> HelpTopics::numbers()
{
    return numberedPages().keys();
}

QString HelpTopics::pageOfDialog(const QString& className)
{
    return dialogPages().value(className);
}

QStringList HelpTopics::dialogs()
{
    return dialogPages().keys();
}
