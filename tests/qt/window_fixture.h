#pragma once
// A started window for each Qt test: Form_Load run in a fresh settings folder with a recording
// host, the Qt window built on it and synced.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>

#include "app/app_state.h"
#include "qt/main_window.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark::qt::testing {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("TUNELARK_WINDIR", dir.str().c_str(), 1);
    form = std::make_unique<Form1>(app, host);
    beforeLoad();
    form->Form_Load();
    window = std::make_unique<MainWindow>(*form);
    window->sync();
  }
  void TearDown() override { ::unsetenv("TUNELARK_WINDIR"); }
  // What a test sets up in the model before Form_Load.
  virtual void beforeLoad() {}

  QWidget* widgetOf(const std::string& name) const {
    return window->findChild<QWidget*>(QString::fromStdString(name));
  }

  tunelark::testing::TempDir dir;
  AppState app;
  tunelark::testing::FakeHost host;
  std::unique_ptr<Form1> form;
  std::unique_ptr<MainWindow> window;  // destroyed first
};

}  // namespace tunelark::qt::testing
