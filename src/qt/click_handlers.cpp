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
      {"Image5", &Form1::Image5_Click},
      {"Image10", &Form1::Image10_Click},
      {"Image22", &Form1::Image22_Click},
      {"Image23", &Form1::Image23_Click},
      {"Image24", &Form1::Image24_Click},
      {"Image25", &Form1::Image25_Click},
      {"Image26", &Form1::Image26_Click},
      {"Image28", &Form1::Image28_Click},
      {"Image31", &Form1::Image31_Click},
      {"Image32", &Form1::Image32_Click},
      {"panelplayup", &Form1::panelplayup_Click},
      {"panelplaydown", &Form1::panelplaydown_Click},
      {"panelstopup", &Form1::panelstopup_Click},
      {"panelstopdown", &Form1::panelstopdown_Click},
      {"panelprev", &Form1::panelprev_Click},
      {"panelnext", &Form1::panelnext_Click},
  };
  auto it = kTable.find(controlName);
  return it == kTable.end() ? nullptr : it->second;
}

}  // namespace tunelark::qt
