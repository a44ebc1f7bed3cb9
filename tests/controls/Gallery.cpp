// Renders both controls at their panel sizes for a few values and divisions into one PNG:
//   controls_gallery out.png [zoom]
// Each row is one panel's millimetre readout, inch readout and dial, set up as a panel does.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdio>

#include "controls/AnalogueDial.h"
#include "controls/DigitalDial.h"
#include "window/winsys/Twips.h"

namespace Twips = gradel::Twips;

namespace {

struct Row {
    float inches;
    int32_t divisions;
};

QImage RenderRow(const Row& row) {
    QWidget panel;
    panel.setAutoFillBackground(true);
    Twips::Place(&panel, 0, 0, 6375, 1455);
    auto* mm = new DigitalDial(&panel);
    auto* inch = new DigitalDial(&panel);
    auto* dial = new AnalogueDial(&panel);
    Twips::Place(mm, 960, 240, 1695, 615);
    Twips::Place(inch, 2760, 240, 1695, 615);
    Twips::Place(dial, 4560, 240, 1695, 1095);
    dial->SetDivisions(row.divisions);
    dial->SetArrowFillStyle(7);
    dial->SetArrowColour(0xC0C0FF);
    dial->SetArrowEnable(true);
    inch->SetUnit("\"");
    inch->SetFormatString("0.0005");
    mm->SetUnit("mm");
    mm->SetFormatString("0.00");
    inch->SetEnabled(true);
    mm->SetEnabled(true);
    panel.show();
    mm->SetValue(row.inches * 25.4f);
    inch->SetValue(row.inches);
    dial->SetValue(row.inches);
    QApplication::processEvents();
    QImage image = panel.grab().toImage();
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
        images << RenderRow(row);
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
