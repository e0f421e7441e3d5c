// Paints the default background picture of the main window: makebackground <file.bmp>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: makebackground <file.bmp>\n");
        return 2;
    }
    const int w = 1024, h = 768;
    QImage img(w, h, QImage::Format_RGB888);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0.0, QColor(0xf4, 0xfb, 0xf8));
    g.setColorAt(1.0, QColor(0xcf, 0xe9, 0xe2));
    p.fillRect(img.rect(), g);
    // Soft waves across the lower half.
    for (int k = 0; k < 4; ++k) {
        QPainterPath path;
        const double base = h * (0.62 + 0.09 * k);
        path.moveTo(0, h);
        for (int x = 0; x <= w; x += 8)
            path.lineTo(x, base + 22 * std::sin((x / double(w)) * 6.283 * (1.0 + 0.35 * k) + k));
        path.lineTo(w, h);
        path.closeSubpath();
        p.fillPath(path, QColor(0x2a, 0x8c, 0x82, 26 + 14 * k));
    }
    p.end();
    return img.save(QString::fromLocal8Bit(argv[1]), "BMP") ? 0 : 1;
}
