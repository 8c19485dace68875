// The About box's links on the real display, the logo link, and the help button's message.
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "desktop_fixture.h"

namespace tunelark::desktop_testing {
namespace {

// Takes the links the desktop would open, in their order.
class LinkCatcher : public QObject {
  Q_OBJECT
 public:
  LinkCatcher() {
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "open");
  }
  ~LinkCatcher() override {
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
  }
  QList<QUrl> opened;

 public slots:
  void open(const QUrl& url) { opened << url; }
};

using AboutBox = DesktopTest;

TEST_F(AboutBox, ShowsItsLinesAndOpensItsLinks) {
  LinkCatcher links;
  window->click("Image34");
  auto* dialog = window->findChild<QWidget*>(QStringLiteral("Form2"));
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(window->face()->isEnabled());
  auto* url = dialog->findChild<QLabel*>(QStringLiteral("url"));
  auto* email = dialog->findChild<QLabel*>(QStringLiteral("email"));
  ASSERT_TRUE(url && email);
  for (QWidget* link : {static_cast<QWidget*>(url), static_cast<QWidget*>(email)})
    EXPECT_EQ(link->cursor().shape(), Qt::UpArrowCursor);

  QTest::mouseClick(url, Qt::LeftButton);
  QTest::mouseClick(email, Qt::LeftButton);
  QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
  EXPECT_EQ(form->form2, nullptr);
  EXPECT_TRUE(window->face()->isEnabled());
  window->click("Picture1");

  ASSERT_EQ(links.opened.size(), 3);
  EXPECT_EQ(links.opened[0], QUrl(QStringLiteral("http://www.example.org")));
  EXPECT_EQ(links.opened[1].scheme(), QStringLiteral("mailto"));
  EXPECT_EQ(links.opened[1].path(), QStringLiteral("  mail@example.org")) << "two spaces kept";
  EXPECT_EQ(links.opened[2], links.opened[0]);
  window->click("Image30");
  EXPECT_EQ(host.messages, std::vector<std::string>{"Help Not Available Yet.."});
}

}  // namespace
}  // namespace tunelark::desktop_testing

#include "about_test.moc"
