// Build-time tool: renders every skin picture the main window draws, at the size it draws it
// for a device pixel ratio of 1, and writes them as one prerendered-skin file.
//   skin_prerender SKIN_FOLDER OUTPUT
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/app_state.h"
#include "platform/quiet_host.h"
#include "qt/prerendered_skin.h"
#include "qt/skin_manifest.h"
#include "qt/skin_render.h"
#include "ui/form1.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: skin_prerender SKIN_FOLDER OUTPUT\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString folder = QString::fromLocal8Bit(argv[1]);

  tunelark::AppState state;
  tunelark::QuietHost host;
  tunelark::Form1 form(state, host);
  std::vector<std::pair<QString, QImage>> pictures;
  for (const auto& [name, size] : tunelark::qt::allSkinPictureUses(form)) {
    const QString file = folder + QStringLiteral("/") + name + QStringLiteral(".svg");
    if (!QFile::exists(file)) {
      std::fprintf(stderr, "skin_prerender: the window draws %s, which is not in the skin\n",
                   qPrintable(file));
      return 1;
    }
    pictures.emplace_back(name, tunelark::qt::renderSkinFile(file, size));
  }
  const std::vector<unsigned char> data = tunelark::qt::PrerenderedSkin::encode(pictures);

  const std::string out = argv[2];
  const std::string partial = out + ".part";
  std::ofstream file(partial, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  file.close();
  if (!file || std::rename(partial.c_str(), out.c_str()) != 0) {
    std::remove(partial.c_str());
    std::fprintf(stderr, "skin_prerender: could not write %s\n", out.c_str());
    return 1;
  }
  std::printf("skin_prerender: %zu pictures, %zu bytes\n", pictures.size(), data.size());
  return 0;
}
