// Files dropped on List1 from a file manager are taken as files given on the command line;
// other payloads from outside are ignored without a word.
#include <QCoreApplication>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QUrl>

#include "window_fixture.h"

namespace tunelark::qt::testing {
namespace {

using FileDrop = WindowTest;

TEST_F(FileDrop, FileUrlsAreTakenAsGivenFilesAndOtherUrlsIgnored) {
  auto* list = qobject_cast<QListWidget*>(widgetOf("List1"));
  ASSERT_NE(list, nullptr);
  const auto drop = [&](const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = list->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(list->viewport(), &enter);
    QDropEvent event(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(list->viewport(), &event);
    return enter.isAccepted();
  };
  EXPECT_FALSE(drop({QUrl(QStringLiteral("https://example.org/a.ra"))}));
  EXPECT_EQ(list->count(), 0);
  EXPECT_TRUE(host.messages.empty());

  const QString clip = QString::fromStdString(dir.write("my clip.RA", "x"));
  const QString text = QString::fromStdString(dir.write("notes.txt", "x"));
  EXPECT_TRUE(drop({QUrl::fromLocalFile(clip), QUrl::fromLocalFile(text)}));
  ASSERT_EQ(list->count(), 1) << "the window was synced after the drop";
  EXPECT_EQ(list->item(0)->text(), QStringLiteral("1. my clip.RA"));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find(text.toStdString()), std::string::npos);
}

}  // namespace
}  // namespace tunelark::qt::testing
