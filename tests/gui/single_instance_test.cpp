#include "gui/single_instance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

TEST(SingleInstance, ASecondStartHandsItsFilesToTheFirst)
{
    const QString name = QStringLiteral("ridizav-test-%1").arg(QCoreApplication::applicationPid());
    CSingleInstance first(name);
    EXPECT_FALSE(first.HandOver({})); // nobody listens yet
    ASSERT_TRUE(first.Listen());
    QStringList received;
    QObject::connect(
        &first, &CSingleInstance::filesReceived, [&](const QStringList& f) { received = f; });

    CSingleInstance second(name);
    EXPECT_TRUE(second.HandOver({QStringLiteral("/tmp/Kast.ETT")}));
    QElapsedTimer timer;
    timer.start();
    while (received.isEmpty() && timer.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(received, QStringList {QStringLiteral("/tmp/Kast.ETT")});
}
