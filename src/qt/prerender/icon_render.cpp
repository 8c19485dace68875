// Build-time tool: renders the program icon from its SVG into the hicolor theme's layout,
//   icon_render ICON.svg NAME OUTPUT_FOLDER SIZE...
// writing OUTPUT_FOLDER/SIZExSIZE/apps/NAME.png for each size. The pictures are drawn as the
// window draws its skin.
#include <QDir>
#include <QGuiApplication>
#include <QSvgRenderer>
#include <cstdio>

#include "qt/skin_render.h"

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: icon_render ICON.svg NAME OUTPUT_FOLDER SIZE...\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString svg = QString::fromLocal8Bit(argv[1]);
  // The skin's renderer draws a placeholder for a broken picture; an icon must not be one.
  if (!QSvgRenderer(svg).isValid()) {
    std::fprintf(stderr, "icon_render: %s is not a picture\n", argv[1]);
    return 1;
  }
  for (int i = 4; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    if (size <= 0) return 2;
    const QString folder =
        QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[3])).arg(size);
    const QString file = QStringLiteral("%1/%2.png").arg(folder, QString::fromLocal8Bit(argv[2]));
    if (!QDir().mkpath(folder) ||
        !tunelark::qt::renderSkinFile(svg, QSize(size, size)).save(file, "PNG")) {
      std::fprintf(stderr, "icon_render: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
