#include "qt/click_handlers.h"

#include <map>

namespace tunelark::qt {

ClickHandler clickHandlerFor(const std::string& controlName) {
  static const std::map<std::string, ClickHandler> kTable = {
      {"Image7", &Form1::Image7_Click},
      {"Image8", &Form1::Image8_Click},
      {"Image9", &Form1::Image9_Click},
      {"Image12", &Form1::Image12_Click},
      {"Image13", &Form1::Image13_Click},
      {"Image14", &Form1::Image14_Click},
      {"Image15", &Form1::Image15_Click},
      {"Image16", &Form1::Image16_Click},
      {"Image18", &Form1::Image18_Click},
      {"Image19", &Form1::Image19_Click},
      {"Image20", &Form1::Image20_Click},
      {"Image21", &Form1::Image21_Click},
      {"Image33", &Form1::Image33_Click},
      {"panelplayup", &Form1::panelplayup_Click},
      {"panelplaydown", &Form1::panelplaydown_Click},
      {"panelstopup", &Form1::panelstopup_Click},
      {"panelstopdown", &Form1::panelstopdown_Click},
      {"panelprev", &Form1::panelprev_Click},
      {"panelnext", &Form1::panelnext_Click},
      // ---- Desktop integration ----
      {"Image27", &Form1::Image27_Click},
      {"Image29", &Form1::Image29_Click},
      {"Image30", &Form1::Image30_Click},
      {"Image34", &Form1::Image34_Click},
      {"Picture1", &Form1::Picture1_Click},
  };
  auto it = kTable.find(controlName);
  return it == kTable.end() ? nullptr : it->second;
}

}  // namespace tunelark::qt
