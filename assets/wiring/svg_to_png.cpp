// Build-time tool: renders one wiring diagram (SVG) to the PNG picture file the programs load
// (the name keeps the ".sb" suffix the program looks for; loaders take the format from the
// content). The picture stores 96 dpi, so its own size is 400 x 280 pixels = 6000 x 4200 twips,
// in the dialog's picture box as on the printed sheet.
//
//   svg_to_png IN.svg OUT
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: svg_to_png IN.svg OUT\n");
        return 1;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // text in the drawing needs the font database

    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "svg_to_png: %s is no SVG drawing\n", argv[1]);
        return 1;
    }
    QImage image(svg.defaultSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    constexpr int kDotsPerMeter = 3780;  // 96 dpi
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        svg.render(&painter);
    }
    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.commit()) {
        std::fprintf(stderr, "svg_to_png: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
