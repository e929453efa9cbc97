#include "TestEnv.h"
#include "shell/KAZANE.h"

#include <QTest>

class SmokeTest : public QObject {
    Q_OBJECT
private slots:
    void startsOnAClass()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        KAZANE& window = env.startMainWindow();
        QCOMPARE(window.windowTitle(), QStringLiteral("小学校成績処理 「かざね」"));
        QCOMPARE(env.data.PupilCount, 2);
    }
};

QTEST_MAIN(SmokeTest)
#include "test_smoke_placeholder.moc"
