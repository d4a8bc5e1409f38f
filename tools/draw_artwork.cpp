// Draws the program's artwork: the reception form picture that the form pages
// are written on, and the program icon. Run it after changing the drawing:
//   draw_artwork ASSETS_FOLDER
// The build also runs it to draw the desktop's icon theme sizes from the same
// picture as app.ico:
//   draw_artwork --icons FOLDER   (writes FOLDER/hicolor/NxN/apps/hoshizora.png)
// The fixed positions of the form writer (columns, cells, page number) are
// mirrored here, so the printed boxes frame the text drawn into them.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtEndian>
#include <cstdio>

namespace {

constexpr int kWidth = 764;
constexpr int kHeight = 1080;
const QColor kPaper(0xFF, 0xFC, 0xF2);
const QColor kInk(0x9A, 0x2B, 0x26);   // the printed rules and labels
const QColor kTint(0xF7, 0xE6, 0xDF);  // label cells

QFont Face(const char* family, int pixels, bool bold = false) {
  QFont font(family);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// A label written top to bottom, centred in its cell.
void VerticalLabel(QPainter& p, const QRect& cell, const QString& text, int pixels) {
  p.setFont(Face("IPAGothic", pixels));
  const int step = pixels + 2;
  const int top = cell.center().y() - step * static_cast<int>(text.size()) / 2;
  for (int i = 0; i < text.size(); ++i) {
    p.drawText(QRect(cell.left(), top + step * i, cell.width(), step), Qt::AlignCenter,
               QString(text[i]));
  }
}

void LabelledBox(QPainter& p, int left, int right, int top, int label_bottom, int bottom,
                 const QString& label) {
  p.fillRect(QRect(left, top, right - left, label_bottom - top), kTint);
  p.drawRect(QRect(left, top, right - left, bottom - top));
  p.drawLine(left, label_bottom, right, label_bottom);
  VerticalLabel(p, QRect(left, top, right - left, label_bottom - top), label, 11);
}

QImage DrawForm() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(kPaper);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  // Frame: a heavy outer rule and a thin inner one.
  p.setPen(QPen(kInk, 4));
  p.drawRect(QRect(18, 18, kWidth - 36, kHeight - 36));
  p.setPen(QPen(kInk, 1));
  p.drawRect(QRect(26, 26, kWidth - 52, kHeight - 52));

  // Title.
  p.setFont(Face("IPAMincho", 46, true));
  p.drawText(QRect(0, 50, kWidth, 60), Qt::AlignCenter, "和 文 電 報 受 信 紙");
  p.setFont(Face("IPAGothic", 13));
  p.drawText(QRect(0, 110, kWidth, 20), Qt::AlignCenter, "WABUN  TELEGRAM  RECEPTION  FORM");
  p.setPen(QPen(kInk, 2));
  p.drawLine(150, 138, kWidth - 150, 138);

  // Reception details across the top.
  p.setPen(QPen(kInk, 1));
  const struct {
    int left, right;
    const char* label;
  } top_cells[] = {{60, 250, "受信局"}, {250, 440, "受付番号"}, {440, 704, "受信年月日"}};
  for (const auto& c : top_cells) {
    p.fillRect(QRect(c.left, 160, c.right - c.left, 26), kTint);
    p.drawRect(QRect(c.left, 160, c.right - c.left, 70));
    p.drawLine(c.left, 186, c.right, 186);
    p.setFont(Face("IPAGothic", 14));
    p.drawText(QRect(c.left, 160, c.right - c.left, 26), Qt::AlignCenter, c.label);
  }
  p.setFont(Face("IPAGothic", 14));
  p.drawText(QRect(440, 190, 264, 36), Qt::AlignCenter, "　　年　　月　　日");

  // Header fields: each value column sits where the form writer draws it.
  p.setFont(Face("IPAGothic", 11));
  LabelledBox(p, 316, 360, 300, 346, 482, "時刻");
  LabelledBox(p, 360, 392, 300, 346, 482, "指定");
  LabelledBox(p, 392, 428, 300, 346, 482, "番号");
  LabelledBox(p, 428, 494, 300, 346, 482, "発信局");
  LabelledBox(p, 494, 518, 300, 346, 482, "種別");
  LabelledBox(p, 518, 562, 300, 346, 482, "文字数");
  p.setPen(QPen(kInk, 2));
  p.drawRect(QRect(316, 300, 562 - 316, 182));

  // Addressee: columns from x 560 leftwards, from y 520.
  p.setPen(QPen(kInk, 1));
  p.fillRect(QRect(606, 495, 26, 330), kTint);
  p.drawRect(QRect(470, 495, 162, 330));
  p.drawLine(606, 495, 606, 825);
  VerticalLabel(p, QRect(606, 495, 26, 330), "名あて", 14);
  p.setPen(QPen(kInk, 1, Qt::DotLine));
  for (int x : {511, 551}) {
    p.drawLine(x, 505, x, 815);
  }

  // Body: six columns of ten 42-pixel cells, read right to left.
  p.setPen(QPen(kInk, 1));
  p.fillRect(QRect(442, 495, 24, 420), kTint);
  p.drawRect(QRect(442, 495, 24, 420));
  VerticalLabel(p, QRect(442, 495, 24, 420), "本文", 14);
  for (int col = 0; col <= 6; ++col) {
    p.drawLine(190 + 42 * col, 495, 190 + 42 * col, 915);
  }
  for (int row = 0; row <= 10; ++row) {
    p.drawLine(190, 495 + 42 * row, 442, 495 + 42 * row);
  }
  p.setPen(QPen(kInk, 2));
  p.drawRect(QRect(190, 495, 252, 420));
  p.setPen(QPen(kInk, 1));
  p.setFont(Face("IPAGothic", 10));
  for (int col = 0; col < 6; ++col) {
    p.drawText(QRect(400 - 42 * col, 918, 42, 14), Qt::AlignCenter,
               QString::number(10 * (col + 1)));
  }

  // Remarks down the left.
  const struct {
    int top, bottom;
    const char* label;
  } side_cells[] = {{300, 482, "受信時刻"}, {495, 705, "受信者"}, {705, 915, "備考"}};
  for (const auto& c : side_cells) {
    p.fillRect(QRect(60, c.top, 26, c.bottom - c.top), kTint);
    p.drawRect(QRect(60, c.top, 110, c.bottom - c.top));
    p.drawLine(86, c.top, 86, c.bottom);
    VerticalLabel(p, QRect(60, c.top, 26, c.bottom - c.top), c.label, 13);
  }

  // Page number: centred at x = width / 2 - 30, from y = height - 60.
  p.setPen(QPen(kInk, 1));
  p.drawRect(QRect(kWidth / 2 - 110, kHeight - 66, 160, 38));
  p.setFont(Face("IPAGothic", 13));
  p.drawText(QRect(kWidth / 2 - 190, kHeight - 66, 76, 38), Qt::AlignCenter, "枚数");
  p.setFont(Face("IPAMincho", 12));
  p.drawText(QRect(40, kHeight - 100, kWidth - 80, 20), Qt::AlignRight | Qt::AlignVCenter,
             "この用紙は受信した電報をそのまま記入してください。");
  return image;
}

QImage DrawIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  QLinearGradient sky(0, 0, 0, s);
  sky.setColorAt(0, QColor(0x0B, 0x1A, 0x4A));
  sky.setColorAt(1, QColor(0x2B, 0x4C, 0x9A));
  p.setPen(Qt::NoPen);
  p.setBrush(sky);
  p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);

  // A five-pointed star.
  QPainterPath star;
  const QPointF centre(s * 0.5, s * 0.42);
  for (int i = 0; i < 10; ++i) {
    const qreal r = (i % 2 == 0 ? 0.30 : 0.13) * s;
    const qreal a = -M_PI / 2 + i * M_PI / 5;
    const QPointF pt(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
    i == 0 ? star.moveTo(pt) : star.lineTo(pt);
  }
  star.closeSubpath();
  p.setBrush(QColor(0xFF, 0xD5, 0x4A));
  p.drawPath(star);

  // A dot and a dash beneath it.
  p.setBrush(Qt::white);
  const qreal y = s * 0.80, h = std::max<qreal>(1.5, s * 0.09);
  p.drawEllipse(QRectF(s * 0.22, y - h / 2, h, h));
  p.drawRoundedRect(QRectF(s * 0.40, y - h / 2, s * 0.38, h), h / 2, h / 2);
  return image;
}

QByteArray Le16(quint16 v) {
  QByteArray b(2, 0);
  qToLittleEndian(v, b.data());
  return b;
}
QByteArray Le32(quint32 v) {
  QByteArray b(4, 0);
  qToLittleEndian(v, b.data());
  return b;
}

// An icon image as the classic device-independent bitmap: a header, the
// colour pixels bottom-up, then an all-clear AND mask (alpha carries the shape).
QByteArray IconDib(const QImage& image) {
  const int w = image.width(), h = image.height();
  const int mask_stride = ((w + 31) / 32) * 4;
  QByteArray dib;
  dib += Le32(40) + Le32(w) + Le32(2 * h) + Le16(1) + Le16(32) + Le32(0) +
         Le32(w * h * 4 + mask_stride * h) + Le32(0) + Le32(0) + Le32(0) + Le32(0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const QRgb c = image.pixel(x, y);
      dib += char(qBlue(c));
      dib += char(qGreen(c));
      dib += char(qRed(c));
      dib += char(qAlpha(c));
    }
  }
  dib += QByteArray(mask_stride * h, 0);
  return dib;
}

QByteArray IconFile() {
  const int sizes[] = {16, 32, 48, 256};
  QList<QByteArray> images;
  for (int size : sizes) {
    const QImage image = DrawIcon(size);
    if (size == 256) {
      QByteArray png;
      QBuffer buffer(&png);
      buffer.open(QIODevice::WriteOnly);
      image.save(&buffer, "PNG");
      images.push_back(png);
    } else {
      images.push_back(IconDib(image));
    }
  }
  QByteArray file = Le16(0) + Le16(1) + Le16(static_cast<quint16>(images.size()));
  quint32 offset = 6 + 16 * images.size();
  for (int i = 0; i < images.size(); ++i) {
    const int size = sizes[i];
    file += char(size == 256 ? 0 : size);
    file += char(size == 256 ? 0 : size);
    file += char(0);
    file += char(0);
    file += Le16(1) + Le16(32) + Le32(images[i].size()) + Le32(offset);
    offset += images[i].size();
  }
  for (const QByteArray& image : images) {
    file += image;
  }
  return file;
}

bool WriteThemeIcons(const QString& folder) {
  for (int size : {16, 32, 48, 64, 128, 256}) {
    const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(folder, QString::number(size));
    if (!QDir().mkpath(dir) || !DrawIcon(size).save(dir + "/hoshizora.png", "PNG")) {
      std::fprintf(stderr, "draw_artwork: cannot write %s\n", qPrintable(dir));
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc == 3 && QByteArray(argv[1]) == "--icons") {
    return WriteThemeIcons(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: draw_artwork ASSETS_FOLDER | --icons FOLDER\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  if (!DrawForm().save(folder + "/和文電報受信用紙.jpg", "JPEG", 92)) {
    std::fprintf(stderr, "draw_artwork: cannot write the form picture\n");
    return 1;
  }
  QFile icon(folder + "/app.ico");
  if (!icon.open(QIODevice::WriteOnly) || icon.write(IconFile()) < 0) {
    std::fprintf(stderr, "draw_artwork: cannot write app.ico\n");
    return 1;
  }
  return 0;
}
