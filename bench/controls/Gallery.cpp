// Renders one panel's display controls for a few positions and divisions into one PNG:
//   controls_gallery out.png [zoom]
// Each row is one panel's millimetre readout, inch readout and dial, set up as a panel does.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "bench/controls/PanelRig.h"

namespace {

struct Row {
    float inches;
    int divisions;
};

QImage renderRow(const Row& row) {
    gradel::PanelRig panel(row.divisions);
    panel.show(row.inches);
    QApplication::processEvents();
    QImage image = panel.window.grab().toImage();
    QPainter painter(&image);
    painter.drawText(
        8, 20, QString("%1 in, %2 div").arg(static_cast<double>(row.inches)).arg(row.divisions));
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s out.png [zoom]\n", argv[0]);
        return 2;
    }
    const int zoom = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    const Row rows[] = {{0.0f, 64}, {3.5f, 64}, {-0.25f, 64}, {0.5f, 64},
                        {0.0f, 16}, {3.5f, 16}, {-0.25f, 16}, {0.5f, 16}};
    QList<QImage> images;
    int width = 0, height = 0;
    for (const Row& row : rows) {
        images << renderRow(row);
        width = std::max(width, images.back().width());
        height += images.back().height();
    }
    QImage gallery(width, height, QImage::Format_RGB32);
    gallery.fill(Qt::gray);
    QPainter painter(&gallery);
    int y = 0;
    for (const QImage& image : images) {
        painter.drawImage(0, y, image);
        y += image.height();
    }
    painter.end();
    if (zoom > 1) gallery = gallery.scaled(gallery.size() * zoom);
    return gallery.save(argv[1]) ? 0 : 1;
}
