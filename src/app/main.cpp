#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Jornix"));
    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Jornix"));
    frame.resize(1000, 700);
    frame.show();
    return QApplication::exec();
}
