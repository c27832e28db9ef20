#!/usr/bin/env bash
# Renders the program icon catalogue/qt/art/reelbook.svg into the PNG sizes
# that desktops look for (catalogue/qt/art/icons/reelbook-SIZE.png) with Qt's
# SVG image plugin. The PNGs are committed; run this after changing the SVG.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/render.cpp" <<'CPP'
#include <QGuiApplication>
#include <QImageReader>
#include <cstdio>
int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImageReader reader(QString::fromLocal8Bit(argv[1]));
        reader.setScaledSize(QSize(size, size));
        const QImage image = reader.read();
        if (image.isNull() ||
            !image.save(QString("%1/reelbook-%2.png").arg(QString::fromLocal8Bit(argv[2])).arg(size))) {
            std::fprintf(stderr, "render-icons: %s\n", qPrintable(reader.errorString()));
            return 1;
        }
    }
}
CPP
g++ -std=c++17 -fPIC "$work/render.cpp" -o "$work/render" $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work "$work/render" \
    "$root/catalogue/qt/art/reelbook.svg" "$root/catalogue/qt/art/icons"
