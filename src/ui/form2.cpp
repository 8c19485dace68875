#include "ui/form2.h"

#include <utility>

#include "platform/shell_open.h"
#include "ui/form1.h"

namespace tunelark {

namespace {

constexpr unsigned kCyan = 0x00FFFF;
constexpr unsigned kLightGreen = 0x80FF80;  // the frame's text
constexpr unsigned kGreen = 0x00FF00;       // links

Control part(std::string name, ControlKind kind, std::string frame, int left, int top, int width,
             int height, std::string caption = {}, std::string picture = {},
             unsigned color = kCyan) {
  Control c = makeControl(std::move(name), kind, std::move(frame), left, top, width, height);
  c.caption = std::move(caption);
  c.picture = std::move(picture);
  c.color = color;
  return c;
}

void open(Form1& form, std::uint32_t hWnd, const std::string& file) {
  if (ShellOpen* shell = form.host.shellOpen()) shell->ShellExecuteA(hWnd, file);
}

}  // namespace

std::string webLink() { return kWebHost; }
// The two spaces have always been there; mail programs skip them.
std::string emailLink() { return std::string("mailto:  ") + kEmailAddress; }

Form2::Form2(Form1& owner) : owner_(owner) {
  const auto I = ControlKind::Image;
  const auto L = ControlKind::Label;
  Image1 = part("Image1", I, "", 120, 120, 480, 480, {}, "app_icon");
  Label1 = part("Label1", L, "", 840, 120, 2295, 255, "Tunelark (tm) (32-bit) ");
  Label2 = part("Label2", L, "", 1440, 360, 1095, 255, "Version 2.01");
  Label3 = part("Label3", L, "", 840, 720, 2415, 255, "Free to use and to share.");
  Frame1 = part("Frame1", ControlKind::Frame, "", 240, 1080, 3255, 1455, {}, {}, kLightGreen);
  Image4 = part("Image4", I, "Frame1", 360, 120, 480, 480, {}, "about");
  Label4 = part("Label4", L, "Frame1", 960, 240, 2055, 255, "By the Tunelark team");
  Image3 = part("Image3", I, "Frame1", 360, 600, 360, 360, {}, "tree_network");
  url =
      part("url", L, "Frame1", 960, 720, 2055, 255, std::string("http://") + kWebHost, {}, kGreen);
  Image2 = part("Image2", I, "Frame1", 360, 960, 375, 360, {}, "mail");
  email = part("email", L, "Frame1", 960, 1080, 1695, 255, kEmailAddress, {}, kGreen);
  Command1 = part("Command1", L, "", 1200, 2640, 1095, 375, "&OK", {}, 0x000000);
  owner_.Enabled = false;
}

std::vector<const Control*> Form2::controls() const {
  return {&Image1, &Label1, &Label2, &Label3, &Frame1, &Image4,
          &Label4, &Image3, &url,    &Image2, &email,  &Command1};
}

void Form2::url_Click() { open(owner_, hWnd, webLink()); }

void Form2::email_Click() { open(owner_, hWnd, emailLink()); }

void Form2::Command1_Click() { unloadForm2(owner_); }

void unloadForm2(Form1& form) {
  if (!form.form2) return;
  form.form2.reset();
  form.dialogUnloaded();
}

void Form1::Picture1_Click() { open(*this, hWnd, webLink()); }

}  // namespace tunelark
