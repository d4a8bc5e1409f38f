#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "check/check_result.h"
#include "check/marked_form.h"
#include "platform/qt/qt_canvas.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

// The red of the marks, as it comes out of the JPEG; the template's own lines
// are a dark brown red, far darker.
bool IsMarkRed(QRgb p) {
  return qRed(p) > 170 && qGreen(p) < 110 && qBlue(p) < 110;
}

int RedIn(const QImage& image, const QRect& box) {
  int red = 0;
  for (int y = box.top(); y <= box.bottom(); ++y) {
    for (int x = box.left(); x <= box.right(); ++x) {
      red += IsMarkRed(image.pixel(x, y)) ? 1 : 0;
    }
  }
  return red;
}

QRect BodyCell(int i) {
  return QRect(400 - 42 * (i / 10), 495 + 42 * (i % 10), 42, 42);
}

// Red lands in the cells where the errors are, and in no other cell: ウ
// written as メ (cell 3), サ left out (its own cell, 10), ン added after ナ
// (cell 21).
TEST(MarkedFormPictureTest, RedMarksOnlyInTheCellsOfTheErrors) {
  QtCanvas canvas;
  testing::TempDir dir;
  TelegramFields key;
  key.body = u"[ホレ]アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ[ラタ]";
  CheckCopy copy;
  copy.fields.body = u"アイウメオカキクケコシスセソタチツテトナンニヌネノハヒフヘホ";
  const CheckResult result = ScoreCopy(key, copy, {});
  ASSERT_EQ(result.errors.size(), 3u);

  const MarkedFormDestination where{HOSHIZORA_ASSETS_DIR, dir.path(), "key_採点"};
  const ImageOutcome outcome = WriteMarkedForm(canvas, where, key, copy, result);
  ASSERT_EQ(outcome.status, ImageStatus::kWritten);
  ASSERT_EQ(outcome.written.size(), 1u);
  EXPECT_EQ(outcome.written[0], dir.path() / "key_採点_1.jpg");
  const QImage page(QString::fromStdString(outcome.written[0].native()));
  ASSERT_EQ(page.size(), QSize(764, 1080));

  const std::set<int> wrong = {3, 10, 21};
  for (int i = 0; i < 60; ++i) {
    if (wrong.count(i) != 0) {
      EXPECT_GT(RedIn(page, BodyCell(i)), 30) << "cell " << i;
    } else {
      // The expected character beside a circle may reach the corner of the
      // cell to its right; the rest of every other cell stays free of red.
      EXPECT_EQ(RedIn(page, BodyCell(i).adjusted(10, 12, -2, -2)), 0) << "cell " << i;
    }
  }
  // The score and counts go into the 備考 box.
  EXPECT_GT(RedIn(page, QRect(86, 705, 84, 210)), 100);

  // Every character right: no red anywhere in the grid.
  CheckCopy right;
  right.fields.body = key.body;
  const MarkedFormDestination again{HOSHIZORA_ASSETS_DIR, dir.path(), "right"};
  const ImageOutcome clean = WriteMarkedForm(canvas, again, key, right, ScoreCopy(key, right, {}));
  ASSERT_EQ(clean.written.size(), 1u);
  const QImage clean_page(QString::fromStdString(clean.written[0].native()));
  EXPECT_EQ(RedIn(clean_page, QRect(190, 495, 252, 420)), 0);
}

}  // namespace
}  // namespace hoshizora
