// Draws an SVG file as a square PNG of the given size: svg_png IN.svg OUT.png SIZE.
// Used by the build for the PNG icons that are installed beside the SVG one.
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    bool ok = false;
    const int groesse = a.size() == 4 ? a.at(3).toInt(&ok) : 0;
    if (!ok || groesse <= 0) {
        std::fprintf(stderr, "usage: svg_png IN.svg OUT.png SIZE\n");
        return 2;
    }
    QSvgRenderer svg(a.at(1));
    if (!svg.isValid()) {
        std::fprintf(stderr, "svg_png: cannot read %s\n", qPrintable(a.at(1)));
        return 1;
    }
    QImage bild(groesse, groesse, QImage::Format_ARGB32_Premultiplied);
    bild.fill(Qt::transparent);
    QPainter maler(&bild);
    svg.render(&maler);
    maler.end();
    if (!bild.save(a.at(2), "PNG")) {
        std::fprintf(stderr, "svg_png: cannot write %s\n", qPrintable(a.at(2)));
        return 1;
    }
    return 0;
}
