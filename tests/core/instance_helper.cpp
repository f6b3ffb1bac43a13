// A small copy of the program start's single-instance step, run as a separate process by the tests:
//   instance_helper <mutex name> [--with-frame]
// Prints "first" when it is the only copy and then waits (printing "activated <title>" for each request to
// come forward when it has a frame, --with-frame); prints "second" and exits 0 when another copy runs.
#include "core/CheckSingleInstance.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

using namespace jornix;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2)
        return 2;
    const bool withFrame = arguments.contains(QStringLiteral("--with-frame"));
    if (CheckSingleInstance(QStringLiteral("Jornix"), arguments.at(1))) {
        std::printf("second\n");
        return 0;
    }
    if (withFrame) {
        SetActivateInstanceHandler([](const QString& title) {
            std::printf("activated %s\n", qPrintable(title));
            std::fflush(stdout);
            return title == QStringLiteral("Jornix");
        });
    }
    std::printf("first\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}
