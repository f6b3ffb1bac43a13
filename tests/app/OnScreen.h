#pragma once

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// A test's main on a screen of a given size: the offscreen platform reads the screen from a file of its
// own, so that windows are measured against the screen a user has rather than the platform's small default.
#define JORNIX_TEST_MAIN_ON_SCREEN(TestObject, screenWidth, screenHeight)                                   \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        QTemporaryDir screenFolder;                                                                          \
        const QString screenFile = screenFolder.filePath(QStringLiteral("screen.json"));                     \
        QFile file(screenFile);                                                                              \
        if (file.open(QIODevice::WriteOnly))                                                                 \
            file.write(QByteArrayLiteral("{\"screens\": [{\"name\": \"Screen\", \"x\": 0, \"y\": 0, ") +     \
                       "\"width\": " + QByteArray::number(screenWidth) +                                     \
                       ", \"height\": " + QByteArray::number(screenHeight) +                                 \
                       ", \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}");                       \
        file.close();                                                                                        \
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screenFile.toLocal8Bit());                      \
        QApplication app(argc, argv);                                                                        \
        TestObject test;                                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
