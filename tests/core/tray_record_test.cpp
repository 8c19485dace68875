// The tray icon's record, byte for byte as the shell reads it, filled anew by every addtray.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "support/fake_host.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

std::uint32_t word(const NotifyIconData& record, int offset) {
  std::uint32_t value;
  std::memcpy(&value, reinterpret_cast<const char*>(&record) + offset, sizeof value);
  return value;
}

TEST(TrayRecord, AddtrayFillsEveryFieldFromTheWindowAsItIsNow) {
  AppState app;
  testing::FakeHost host;
  Form1 form(app, host);
  const NotifyIconData& record = form.SystemTray.traydata;
  EXPECT_EQ(word(record, 0), 0u) << "unfilled before the first addtray";

  form.hWnd = 0x2A00007;
  form.Icon = 0xC0FFEE;
  form.SystemTray.addtray("Tunelark 2.01");
  // Size, the window's handle twice (the icon's number), flags, callback message, icon.
  const std::uint32_t fields[] = {88, 0x2A00007, 0x2A00007, 7, 516, 0xC0FFEE};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(word(record, 4 * i), fields[i]) << "field " << i;
  const std::string tip(reinterpret_cast<const char*>(&record) + 24, 64);
  EXPECT_EQ(tip, std::string("Tunelark 2.01") + '\0' + std::string(50, ' '));

  form.hWnd = 0x3100002;
  form.SystemTray.addtray(std::string(80, 'x'));
  EXPECT_EQ(word(record, 4), 0x3100002u);
  EXPECT_EQ(std::string(record.szTip.data()), std::string(63, 'x')) << "cut so its NUL fits";
}

}  // namespace
}  // namespace tunelark
