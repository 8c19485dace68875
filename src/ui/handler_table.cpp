#include "ui/handler_table.h"

#include <algorithm>
#include <array>

namespace tunelark {

namespace {

using enum ControlId;
constexpr auto C = UserEvent::Click;

constexpr std::array kTable = {
    HandlerRow{Image7, C, &Form1::Image7_Click},
    HandlerRow{Image8, C, &Form1::Image8_Click},
    HandlerRow{Image9, C, &Form1::Image9_Click},
    HandlerRow{Image12, C, &Form1::Image12_Click},
    HandlerRow{Image13, C, &Form1::Image13_Click},
    HandlerRow{Image14, C, &Form1::Image14_Click},
    HandlerRow{Image15, C, &Form1::Image15_Click},
    HandlerRow{Image16, C, &Form1::Image16_Click},
    HandlerRow{Image18, C, &Form1::Image18_Click},
    HandlerRow{Image19, C, &Form1::Image19_Click},
    HandlerRow{Image20, C, &Form1::Image20_Click},
    HandlerRow{Image21, C, &Form1::Image21_Click},
    HandlerRow{Image33, C, &Form1::Image33_Click},
    HandlerRow{Image5, C, &Form1::Image5_Click},
    HandlerRow{Image10, C, &Form1::Image10_Click},
    HandlerRow{Image22, C, &Form1::Image22_Click},
    HandlerRow{Image23, C, &Form1::Image23_Click},
    HandlerRow{Image24, C, &Form1::Image24_Click},
    HandlerRow{Image25, C, &Form1::Image25_Click},
    HandlerRow{Image26, C, &Form1::Image26_Click},
    HandlerRow{Image28, C, &Form1::Image28_Click},
    HandlerRow{Image31, C, &Form1::Image31_Click},
    HandlerRow{Image32, C, &Form1::Image32_Click},
    HandlerRow{panelplayup, C, &Form1::panelplayup_Click},
    HandlerRow{panelplaydown, C, &Form1::panelplaydown_Click},
    HandlerRow{panelstopup, C, &Form1::panelstopup_Click},
    HandlerRow{panelstopdown, C, &Form1::panelstopdown_Click},
    HandlerRow{panelprev, C, &Form1::panelprev_Click},
    HandlerRow{panelnext, C, &Form1::panelnext_Click},
    HandlerRow{Image27, C, &Form1::Image27_Click},
    HandlerRow{Image29, C, &Form1::Image29_Click},
    HandlerRow{Image30, C, &Form1::Image30_Click},
    HandlerRow{Image34, C, &Form1::Image34_Click},
    HandlerRow{Picture1, C, &Form1::Picture1_Click},
    HandlerRow{tvwControl, C, &Form1::tvwControl_Click},
    HandlerRow{List1, UserEvent::DblClick, &Form1::List1_DblClick},
    HandlerRow{List1, UserEvent::DragDrop, &Form1::List1_DragDrop},
};

}  // namespace

std::span<const HandlerRow> handlerTable() { return kTable; }

Handler handlerFor(ControlId control, UserEvent event) {
  const auto it = std::find_if(kTable.begin(), kTable.end(), [&](const HandlerRow& row) {
    return row.control == control && row.event == event;
  });
  return it == kTable.end() ? nullptr : it->handler;
}

}  // namespace tunelark
