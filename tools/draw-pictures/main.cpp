// draw-pictures: paints every picture of Зорелад from code.
//
//   draw-pictures ROOT [--proofs DIR]
//
// ROOT is the source tree. The tool writes
//   ROOT/src/resources/pictures/background.jpg   window background (baseline JPEG)
//   ROOT/src/resources/pictures/next.png         picture of the "Наступне" button
//   ROOT/src/resources/pictures/printer.png      picture of the certificate button
//   ROOT/src/resources/pictures/stop.png         picture of the end-testing menu item
//   ROOT/data/Media/s.bmp                        certificate picture (8-bit BMP, 300 dpi)
//   ROOT/packaging/icons/zorelad-N.png           application icon, N = 16 ... 256
// and checks each file after writing it. With --proofs it also writes previews
// for a human eye: the background as the window shows it, the certificate with
// sample texts where the printer puts them, the icons side by side.
//
// Every random choice comes from a fixed seed, so a run on the same fonts gives
// the same files.

#include "bmpwriter.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979323846;

double rad(double degrees) { return degrees * Pi / 180.0; }

// ---------------------------------------------------------------------------
// Small tools

// xorshift64*: tiny, fast and the same everywhere, unlike the standard
// distributions whose results differ between library implementations.
class Random {
public:
    explicit Random(std::uint64_t seed) : state(seed ? seed : 0x9E3779B97F4A7C15ULL) {}
    std::uint64_t next()
    {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 2685821657736338717ULL;
    }
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double low, double high) { return low + (high - low) * uniform(); }

private:
    std::uint64_t state;
};

[[noreturn]] void fail(const QString &text) { throw std::runtime_error(text.toStdString()); }

QColor mix(const QColor &a, const QColor &b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(
        float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
        float(a.blueF() + (b.blueF() - a.blueF()) * t), float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor withAlpha(QColor c, double alpha)
{
    c.setAlphaF(float(std::clamp(alpha, 0.0, 1.0)));
    return c;
}

QFont namedFont(const QString &family, double pixelSize, int weight = QFont::Normal, bool italic = false)
{
    QFont font(family);
    font.setPixelSize(int(std::lround(pixelSize)));
    font.setWeight(QFont::Weight(weight));
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    const QFontInfo info(font);
    if (!info.family().startsWith(family, Qt::CaseInsensitive))
        fail(QStringLiteral("font \"%1\" is missing (got \"%2\"); it comes with fonts-urw-base35")
                 .arg(family, info.family()));
    return font;
}

// Outline of a text with its horizontal centre at cx and its baseline at y.
QPainterPath centredText(const QString &text, const QFont &font, double cx, double baseline)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    return QTransform::fromTranslate(cx - box.center().x(), baseline).map(path);
}

// Five-pointed star, first point at `rotation` degrees (-90 points up).
QPainterPath starPath(QPointF centre, double outer, double inner, double rotation = -90)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2) ? inner : outer;
        const double a = rad(rotation + i * 36.0);
        const QPointF point(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

// A star with ridges: every arm is split along its axis into a lit and a
// shaded face, lit from the upper left.
void drawFacetedStar(QPainter &p, QPointF c, double outer, double inner, const QColor &light, const QColor &dark,
                     const QColor &edge, double edgeWidth, double rotation = -90)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(mix(light, dark, 0.5));
    p.drawPath(starPath(c, outer, inner, rotation));
    const double lightAngle = rad(-125);
    for (int arm = 0; arm < 5; ++arm) {
        const double tipAngle = rad(rotation + arm * 72.0);
        const QPointF tip(c.x() + outer * std::cos(tipAngle), c.y() + outer * std::sin(tipAngle));
        for (int side : {-1, 1}) {
            const double valleyAngle = tipAngle + side * rad(36);
            const QPointF valley(c.x() + inner * std::cos(valleyAngle), c.y() + inner * std::sin(valleyAngle));
            // The face looks out roughly halfway between the tip and the valley.
            const double faceAngle = tipAngle + side * rad(30);
            const double lit = 0.5 + 0.5 * std::cos(faceAngle - lightAngle);
            QPainterPath face;
            face.moveTo(c);
            face.lineTo(tip);
            face.lineTo(valley);
            face.closeSubpath();
            p.setBrush(mix(dark, light, lit));
            p.drawPath(face);
        }
    }
    if (edgeWidth > 0) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(edge, edgeWidth, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
        p.drawPath(starPath(c, outer, inner, rotation));
    }
    p.restore();
}

// ---------------------------------------------------------------------------
// Wheat

struct EarLook {
    QColor light; // lit side of a grain
    QColor dark;  // shaded side of a grain
    QColor edge;  // grain outline and the ear's axis
    QColor awn;   // the long bristles
    double edgeWidth = 0.0;
    double awnWidth = 0.0;
    double awnLength = 0.0; // as a part of the ear's length; 0 draws none
    int rows = 7;
};

// One ear of wheat: the base of the ear at the origin, growing along -y,
// `length` long and `width` wide. The caller places it with the transform.
void drawEar(QPainter &p, double length, double width, const EarLook &look)
{
    p.save();
    const int rows = look.rows;
    const double step = length / (rows + 1.2);
    if (look.edgeWidth > 0) {
        p.setPen(QPen(look.edge, look.edgeWidth * 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, 0), QPointF(0, -length * 0.9));
    }
    auto grain = [&](double x, double y, double angle, double gl, double gw, int side) {
        p.save();
        p.translate(x, y);
        p.rotate(angle);
        const QRectF body(-gw / 2, -gl, gw, gl);
        QLinearGradient shade(body.left(), 0, body.right(), 0);
        shade.setColorAt(0, side < 0 ? look.light : mix(look.light, look.dark, 0.35));
        shade.setColorAt(1, side < 0 ? mix(look.light, look.dark, 0.55) : look.dark);
        if (look.edgeWidth > 0)
            p.setPen(QPen(look.edge, look.edgeWidth));
        else
            p.setPen(Qt::NoPen);
        p.setBrush(shade);
        // A grain is a teardrop: round at its foot, drawn out to a point.
        QPainterPath shape;
        shape.moveTo(0, 0);
        shape.cubicTo(gw * 0.68, -gl * 0.04, gw * 0.5, -gl * 0.66, 0, -gl);
        shape.cubicTo(-gw * 0.5, -gl * 0.66, -gw * 0.68, -gl * 0.04, 0, 0);
        p.drawPath(shape);
        if (look.edgeWidth > 0) {
            // The crease down the middle of the grain.
            p.setPen(QPen(withAlpha(look.edge, look.edge.alphaF() * 0.6), look.edgeWidth * 0.8, Qt::SolidLine,
                          Qt::RoundCap));
            p.drawLine(QPointF(side * gw * 0.06, -gl * 0.2), QPointF(0, -gl * 0.78));
        }
        if (look.awnLength > 0) {
            const double bend = -side * rad(15);
            const double awn = length * look.awnLength;
            p.setPen(QPen(look.awn, look.awnWidth, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(0, -gl * 0.92), QPointF(awn * std::sin(bend), -gl * 0.92 - awn * std::cos(bend)));
        }
        p.restore();
    };
    // From the tip down, so that every grain lies over the foot of the one
    // above it, as on a real ear.
    grain(0, -step * (rows + 0.05), 0, step * 1.7, width * 0.4, 1);
    for (int i = rows - 1; i >= 0; --i) {
        const double t = rows > 1 ? double(i) / (rows - 1) : 0.0;
        const double taper = (1.0 - 0.35 * t * t) * (i == 0 ? 0.8 : i == 1 ? 0.93 : 1.0);
        const double gl = step * 2.1 * taper;
        const double gw = width * 0.48 * taper;
        for (int side : {1, -1}) {
            const double y = -step * (i + (side > 0 ? 0.5 : 0.0)) - step * 0.1;
            grain(side * width * 0.14 * taper, y, side * 26.0, gl, gw, side);
        }
    }
    p.restore();
}

// ---------------------------------------------------------------------------
// Window background: sky over a wheat field.
//
// The picture is 722 x 722 but the window stretches it into 641 x 337, so the
// scene is composed in window pixels and squeezed into the file. Detail is kept
// at window resolution: the file looks soft when viewed raw, and the window
// shows a clean picture whichever way it scales.

void drawCloud(QPainter &p, Random &rnd, QPointF centre, double width, double height, double strength,
               double flatness = 1.0, int count = 16)
{
    struct Puff {
        QPointF at;
        double r;
    };
    std::vector<Puff> puffs;
    for (int i = 0; i < count; ++i) {
        const double u = (i + rnd.uniform()) / count * 2.0 - 1.0;
        const double hump = 1.0 - u * u;
        const double r = height * (0.28 + 0.42 * hump) * rnd.range(0.8, 1.15);
        const double y = centre.y() - hump * height * 0.32 * rnd.range(0.6, 1.25) + r * 0.15;
        puffs.push_back({QPointF(centre.x() + u * width * 0.5, y), r});
    }
    p.save();
    p.translate(0, centre.y());
    p.scale(1.0, flatness);
    p.translate(0, -centre.y());
    // Bluish shade under the puffs first, then their lit bodies.
    for (const Puff &puff : puffs) {
        QRadialGradient g(puff.at + QPointF(0, puff.r * 0.45), puff.r * 1.15);
        g.setColorAt(0, QColor(112, 146, 196, int(60 * strength)));
        g.setColorAt(1, QColor(112, 146, 196, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(puff.at + QPointF(0, puff.r * 0.45), puff.r * 1.15, puff.r * 1.15);
    }
    for (const Puff &puff : puffs) {
        const QPointF at = puff.at - QPointF(puff.r * 0.1, puff.r * 0.15);
        QRadialGradient g(at, puff.r);
        g.setColorAt(0.0, QColor(255, 255, 255, int(200 * strength)));
        g.setColorAt(0.5, QColor(250, 252, 255, int(150 * strength)));
        g.setColorAt(1.0, QColor(236, 243, 252, 0));
        p.setBrush(g);
        p.drawEllipse(at, puff.r, puff.r);
    }
    p.restore();
}

struct Stalk {
    double x, y; // where it leaves the picture's depth order (its foot)
    double size; // visible height in window pixels
    double lean; // horizontal run per unit of height
    double tone; // 0..1 colour variation
    bool flower; // a cornflower among the wheat
};

QImage drawBackground()
{
    const double W = 641, H = 337, horizon = 192;
    QImage canvas(1444, 674, QImage::Format_RGB32);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(canvas.width() / W, canvas.height() / H);
    Random rnd(0x5EED0001);

    // Sky.
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0.00, QColor(14, 74, 166));
    sky.setColorAt(0.45, QColor(44, 122, 206));
    sky.setColorAt(0.80, QColor(118, 178, 232));
    sky.setColorAt(1.00, QColor(196, 222, 244));
    p.fillRect(QRectF(0, 0, W, horizon + 2), sky);

    // Sun glow, upper right.
    const QPointF sun(505, 52);
    {
        QRadialGradient g(sun, 260);
        g.setColorAt(0.00, QColor(255, 253, 236, 255));
        g.setColorAt(0.05, QColor(255, 249, 214, 250));
        g.setColorAt(0.10, QColor(255, 240, 180, 150));
        g.setColorAt(0.30, QColor(255, 232, 170, 60));
        g.setColorAt(0.60, QColor(255, 232, 180, 18));
        g.setColorAt(1.00, QColor(255, 232, 180, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(sun, 260, 260);
    }

    // Clouds: two large ones, a few small and far ones low in the sky.
    drawCloud(p, rnd, QPointF(120, 62), 190, 60, 1.0);
    drawCloud(p, rnd, QPointF(330, 100), 120, 34, 0.8);
    drawCloud(p, rnd, QPointF(600, 118), 150, 40, 0.85);
    drawCloud(p, rnd, QPointF(60, 150), 150, 30, 0.6, 0.55, 22);
    drawCloud(p, rnd, QPointF(470, 166), 210, 30, 0.5, 0.4, 26);
    drawCloud(p, rnd, QPointF(250, 174), 150, 24, 0.4, 0.35, 22);

    // Light haze along the horizon.
    {
        QLinearGradient g(0, horizon - 30, 0, horizon + 2);
        g.setColorAt(0, QColor(230, 240, 250, 0));
        g.setColorAt(1, QColor(230, 240, 250, 150));
        p.fillRect(QRectF(0, horizon - 30, W, 32), g);
    }

    // A far belt of trees, broken in places.
    {
        QPainterPath belt;
        belt.moveTo(0, horizon + 1);
        double x = 0;
        while (x < W) {
            const bool trees = rnd.uniform() < 0.7;
            const double run = trees ? rnd.range(30, 110) : rnd.range(20, 70);
            for (double s = 0; s < run && x < W; s += 2.0, x += 2.0) {
                const double h = trees ? 2.2 + 1.6 * std::sin(x * 0.31) * std::sin(x * 0.07) + rnd.range(0, 1.4) : 0.0;
                belt.lineTo(x, horizon + 1 - std::max(0.0, h));
            }
        }
        belt.lineTo(W, horizon + 1);
        belt.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(118, 150, 148));
        p.drawPath(belt);
    }

    // The field under its stalks: pale in the distance, deep gold in front.
    QLinearGradient field(0, horizon, 0, H);
    field.setColorAt(0.00, QColor(226, 204, 128));
    field.setColorAt(0.10, QColor(240, 200, 76));
    field.setColorAt(0.45, QColor(232, 176, 38));
    field.setColorAt(1.00, QColor(184, 120, 14));
    p.fillRect(QRectF(0, horizon + 1, W, H - horizon), field);

    // Wind runs over the field in lighter bands.
    auto sheen = [](double x, double y) {
        return 0.5 + 0.5 * std::sin(x * 0.018 + y * 0.11 + 1.3 * std::sin(x * 0.007 + y * 0.02));
    };
    for (int i = 0; i < 12; ++i) {
        const double cy = horizon + 8 + (H - horizon) * std::pow(rnd.uniform(), 1.3);
        const double depth = (cy - horizon) / (H - horizon);
        p.save();
        p.translate(rnd.range(0, W), cy);
        p.scale(1.0, 0.06 + 0.1 * depth);
        QRadialGradient g(QPointF(0, 0), 220);
        g.setColorAt(0, QColor(255, 232, 130, 60));
        g.setColorAt(1, QColor(255, 232, 130, 0));
        p.setBrush(g);
        p.drawEllipse(QPointF(0, 0), 220, 220);
        p.restore();
    }

    // Stalks, row by row from the horizon to past the bottom edge, so nearer
    // ones cover farther ones.
    std::vector<Stalk> stalks;
    {
        double y = horizon + 1.0;
        while (y < H + 60) {
            const double d = y - horizon;
            const double size = 0.6 + 0.36 * d + 0.0012 * d * d;
            const double spacing = std::max(0.35, size * 0.16);
            for (double x = -20 + rnd.uniform() * spacing; x < W + 20; x += spacing * rnd.range(0.6, 1.4)) {
                stalks.push_back({x, y + rnd.range(0, std::max(0.5, size * 0.1)), size * rnd.range(0.85, 1.15),
                                  rnd.range(-0.06, 0.3), rnd.uniform(), d > 35 && rnd.uniform() < 0.02});
            }
            y += std::max(0.6, size * 0.11);
        }
        std::stable_sort(stalks.begin(), stalks.end(), [](const Stalk &a, const Stalk &b) { return a.y < b.y; });
    }

    const QColor haze(236, 214, 150);
    for (const Stalk &s : stalks) {
        const double depth = std::clamp((s.y - horizon) / (H - horizon), 0.0, 1.3);
        const double fog = std::exp(-(s.y - horizon) / 9.0);
        const double lit = sheen(s.x, s.y);
        QColor body = mix(QColor(196, 132, 16), QColor(246, 196, 58), 0.35 + 0.45 * s.tone);
        body = mix(body, QColor(255, 222, 104), 0.3 * lit);
        body = mix(body, haze, fog * 0.85);
        QColor stem = mix(body, QColor(150, 98, 10), 0.35 + 0.2 * depth);
        stem = mix(stem, haze, fog * 0.7);

        const QPointF foot(s.x, s.y);
        const QPointF top(s.x + s.lean * s.size, s.y - s.size);
        if (s.flower) {
            // A cornflower: a thin green stem and a ring of blue petals,
            // standing a little lower than the ears around it.
            const QPointF head = foot + (top - foot) * 0.78;
            const double r = s.size * 0.05;
            p.setPen(QPen(QColor(92, 120, 50), std::max(0.3, s.size * 0.012)));
            p.drawLine(foot, head);
            p.save();
            p.translate(head);
            p.scale(1.0, 0.8);
            p.setPen(Qt::NoPen);
            for (int k = 0; k < 9; ++k) {
                p.save();
                p.rotate(k * 40.0 + s.tone * 40.0);
                QPainterPath petal;
                petal.moveTo(0, 0);
                petal.lineTo(-r * 0.45, -r * 1.05);
                petal.lineTo(0, -r * 0.85);
                petal.lineTo(r * 0.45, -r * 1.05);
                petal.closeSubpath();
                p.setBrush(k % 2 ? QColor(52, 104, 226) : QColor(74, 128, 240));
                p.drawPath(petal);
                p.restore();
            }
            p.setBrush(QColor(34, 40, 130));
            p.drawEllipse(QPointF(0, 0), r * 0.3, r * 0.3);
            p.restore();
            continue;
        }
        if (s.size < 3.2) {
            // Far away: a short stroke of colour.
            p.setPen(QPen(body, std::max(0.35, s.size * 0.16), Qt::SolidLine, Qt::RoundCap));
            p.drawLine(foot, top);
            continue;
        }
        const double headLength = s.size * 0.34;
        const double angle = std::atan2(top.x() - foot.x(), foot.y() - top.y()) * 180.0 / Pi;
        const QPointF headBase = top - (top - foot) * (headLength / s.size);
        p.setPen(QPen(stem, std::max(0.3, s.size * 0.03), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(foot, headBase);
        if (s.size < 12) {
            // Middle distance: an ear is a narrow spindle with a few bristles.
            p.save();
            p.translate(headBase);
            p.rotate(angle);
            QPainterPath spindle;
            const double w = headLength * 0.16;
            spindle.moveTo(0, 0);
            spindle.cubicTo(w, -headLength * 0.25, w, -headLength * 0.75, 0, -headLength);
            spindle.cubicTo(-w, -headLength * 0.75, -w, -headLength * 0.25, 0, 0);
            QLinearGradient g(-w, 0, w, 0);
            g.setColorAt(0, mix(body, QColor(255, 232, 130), 0.3));
            g.setColorAt(1, mix(body, QColor(170, 110, 10), 0.4));
            p.setPen(Qt::NoPen);
            p.setBrush(g);
            p.drawPath(spindle);
            if (s.size > 6) {
                p.setPen(
                    QPen(withAlpha(mix(body, QColor(255, 240, 180), 0.5), 0.6), 0.25, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(0, -headLength), QPointF(0.3, -headLength * 1.6));
            }
            p.restore();
            continue;
        }
        // Near: a full ear with grains and bristles.
        EarLook look;
        look.light = mix(body, QColor(255, 234, 140), 0.35);
        look.dark = mix(body, QColor(150, 92, 6), 0.5);
        look.edge = withAlpha(mix(body, QColor(120, 70, 0), 0.55), 0.8);
        look.awn = withAlpha(mix(body, QColor(255, 240, 180), 0.4 + 0.3 * depth), 0.8);
        look.edgeWidth = std::min(0.45, headLength * 0.012);
        look.awnWidth = std::min(0.5, 0.1 + headLength * 0.014);
        look.awnLength = 0.85;
        look.rows = 7;
        p.save();
        p.translate(headBase);
        p.rotate(angle);
        drawEar(p, headLength, headLength * 0.3, look);
        p.restore();
    }

    // Soft haze over the far field, and a slight darkening of the foreground
    // corners to hold the eye in the middle.
    {
        QLinearGradient g(0, horizon - 1, 0, horizon + 30);
        g.setColorAt(0, QColor(236, 226, 190, 120));
        g.setColorAt(1, QColor(236, 226, 190, 0));
        p.fillRect(QRectF(0, horizon - 1, W, 31), g);
        QLinearGradient bottom(0, H - 60, 0, H);
        bottom.setColorAt(0, QColor(90, 50, 0, 0));
        bottom.setColorAt(1, QColor(90, 50, 0, 60));
        p.fillRect(QRectF(0, H - 60, W, 60), bottom);
    }
    p.end();

    const QImage window = canvas.scaled(722, 337, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return window.scaled(722, 722, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

// ---------------------------------------------------------------------------
// "Наступне" button picture: a green arrow on a yellow sign, 95 x 49.

QImage drawNext()
{
    QImage img(95, 49, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF plate(1.5, 1.5, 92, 46);
    QPainterPath sign;
    sign.addRoundedRect(plate, 10, 10);
    QLinearGradient yellow(0, plate.top(), 0, plate.bottom());
    yellow.setColorAt(0.0, QColor(255, 238, 110));
    yellow.setColorAt(0.45, QColor(255, 214, 24));
    yellow.setColorAt(1.0, QColor(236, 168, 0));
    p.fillPath(sign, yellow);
    // A thin light rim inside the edge gives the plate some thickness.
    QPainterPath rim;
    rim.addRoundedRect(plate.adjusted(1.6, 1.6, -1.6, -1.6), 8.5, 8.5);
    QLinearGradient rimShade(0, plate.top(), 0, plate.bottom());
    rimShade.setColorAt(0, QColor(255, 255, 230, 210));
    rimShade.setColorAt(0.5, QColor(255, 250, 200, 60));
    rimShade.setColorAt(1, QColor(180, 110, 0, 120));
    p.strokePath(rim, QPen(QBrush(rimShade), 1.2));
    p.strokePath(sign, QPen(QColor(92, 62, 8), 2.0));

    // The arrow: a short wide shaft and a broad head.
    QPainterPath arrow;
    const double cy = 24.5;
    arrow.moveTo(14, cy - 8);
    arrow.lineTo(50, cy - 8);
    arrow.lineTo(50, cy - 17.5);
    arrow.lineTo(81, cy);
    arrow.lineTo(50, cy + 17.5);
    arrow.lineTo(50, cy + 8);
    arrow.lineTo(14, cy + 8);
    arrow.closeSubpath();
    // Shadow on the plate, down and to the right.
    p.save();
    p.setClipPath(sign);
    p.translate(1.6, 1.8);
    p.fillPath(arrow, QColor(120, 80, 0, 90));
    p.restore();
    QLinearGradient green(0, cy - 17.5, 0, cy + 17.5);
    green.setColorAt(0.0, QColor(118, 222, 88));
    green.setColorAt(0.5, QColor(30, 160, 48));
    green.setColorAt(1.0, QColor(8, 112, 34));
    p.setPen(QPen(QColor(0, 72, 22), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(green);
    p.drawPath(arrow);
    // Gloss on the upper half.
    p.save();
    p.setClipPath(arrow);
    QLinearGradient gloss(0, cy - 17.5, 0, cy);
    gloss.setColorAt(0, QColor(255, 255, 255, 120));
    gloss.setColorAt(1, QColor(255, 255, 255, 10));
    p.fillRect(QRectF(0, 0, 95, cy - 0.5), gloss);
    p.restore();
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

// ---------------------------------------------------------------------------
// Certificate button picture: a printer, 48 x 48.

QImage drawPrinter()
{
    QImage img(48, 48, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor outline(52, 56, 66);

    // Blank sheet standing in the feeder at the back.
    {
        const QRectF sheet(13.5, 3.5, 21, 17);
        p.setPen(QPen(QColor(120, 124, 134), 1));
        p.setBrush(QColor(250, 250, 252));
        p.drawRect(sheet);
        p.setPen(QPen(QColor(200, 204, 212), 1));
        for (double y = 7.5; y < 16; y += 3)
            p.drawLine(QPointF(16.5, y), QPointF(31.5, y));
    }

    // Body.
    const QRectF body(3.5, 16.5, 41, 19);
    {
        QLinearGradient g(0, body.top(), 0, body.bottom());
        g.setColorAt(0.0, QColor(236, 238, 242));
        g.setColorAt(0.45, QColor(196, 200, 208));
        g.setColorAt(1.0, QColor(128, 134, 146));
        p.setPen(QPen(outline, 1));
        p.setBrush(g);
        p.drawRoundedRect(body, 4, 4);
        // Top lid edge, the slot at the back and the highlight along the top.
        p.setPen(QPen(QColor(255, 255, 255, 200), 1));
        p.drawLine(QPointF(7, 17.5), QPointF(41, 17.5));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 74, 84));
        p.drawRoundedRect(QRectF(11, 18.5, 26, 2.5), 1, 1);
        // Status light and two buttons.
        QRadialGradient led(QPointF(38.5, 24.5), 2.4);
        led.setColorAt(0, QColor(190, 255, 170));
        led.setColorAt(0.6, QColor(40, 200, 60));
        led.setColorAt(1, QColor(20, 120, 30));
        p.setBrush(led);
        p.drawEllipse(QPointF(38.5, 24.5), 2.0, 2.0);
        p.setBrush(QColor(96, 102, 114));
        p.drawRoundedRect(QRectF(31, 23.5, 4, 2), 0.8, 0.8);
        // Dark mouth where the printed sheet comes out.
        p.setBrush(QColor(46, 50, 60));
        p.drawRoundedRect(QRectF(9, 28.5, 30, 3.5), 1.2, 1.2);
    }

    // Printed sheet coming out at the front.
    {
        QPainterPath sheet;
        sheet.moveTo(11.5, 30.5);
        sheet.lineTo(36.5, 30.5);
        sheet.lineTo(38.5, 45.5);
        sheet.lineTo(9.5, 45.5);
        sheet.closeSubpath();
        QLinearGradient g(0, 30, 0, 46);
        g.setColorAt(0, QColor(224, 226, 232));
        g.setColorAt(0.25, QColor(255, 255, 255));
        g.setColorAt(1, QColor(244, 246, 250));
        p.setPen(QPen(QColor(110, 114, 124), 1));
        p.setBrush(g);
        p.drawPath(sheet);
        // Lines of print: a blue heading and grey text.
        p.setPen(QPen(QColor(30, 90, 190), 1.4, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(16, 35.5), QPointF(32, 35.5));
        p.setPen(QPen(QColor(120, 126, 138), 1, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(14, 38.5), QPointF(34, 38.5));
        p.drawLine(QPointF(14, 41.5), QPointF(30, 41.5));
    }
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

// ---------------------------------------------------------------------------
// End-testing menu picture: a STOP sign, 428 x 413.

QPainterPath octagon(QPointF c, double apothem)
{
    // Flat top and bottom: corners at 22.5 + k * 45 degrees.
    const double r = apothem / std::cos(rad(22.5));
    QPainterPath path;
    for (int k = 0; k < 8; ++k) {
        const double a = rad(22.5 + 45.0 * k);
        const QPointF corner(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (k == 0)
            path.moveTo(corner);
        else
            path.lineTo(corner);
    }
    path.closeSubpath();
    return path;
}

QImage drawStop()
{
    QImage img(428, 413, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(214, 206.5);
    const double size = 204;     // half the height, flat edge to flat edge
    const double faceInset = 32; // rim and white band; wide enough to show at icon size

    // Thin dark rim, white band, red face.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 16, 20));
    p.drawPath(octagon(c, size));
    p.setBrush(QColor(252, 252, 252));
    p.drawPath(octagon(c, size - 7));
    const QPainterPath face = octagon(c, size - faceInset);
    QRadialGradient red(c + QPointF(-60, -90), 330);
    red.setColorAt(0.0, QColor(240, 52, 52));
    red.setColorAt(0.6, QColor(214, 20, 28));
    red.setColorAt(1.0, QColor(168, 6, 14));
    p.setBrush(red);
    p.drawPath(face);
    // Faint sheen across the upper half of the face.
    p.save();
    p.setClipPath(face);
    QLinearGradient sheen(0, c.y() - size, 0, c.y());
    sheen.setColorAt(0, QColor(255, 255, 255, 60));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, 428, c.y()), sheen);
    p.restore();

    // The word, set tall and filling most of the face.
    QPainterPath word;
    word.addText(0, 0, namedFont(QStringLiteral("Nimbus Sans"), 200, QFont::Bold), QStringLiteral("STOP"));
    const QRectF box = word.boundingRect();
    const double width = 2 * (size - faceInset) * 0.86;
    const double height = (size - faceInset) * 0.8;
    QTransform fit;
    fit.translate(c.x(), c.y());
    fit.scale(width / box.width(), height / box.height());
    fit.translate(-box.center().x(), -box.center().y());
    word = fit.map(word);
    p.fillPath(word.translated(3, 4), QColor(110, 0, 6, 110));
    p.fillPath(word, QColor(255, 255, 255));
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

// ---------------------------------------------------------------------------
// Certificate picture.
//
// The printer puts it at page pixel (400, 300), one picture pixel per printer
// pixel at 300 dpi, then writes three lines of Courier on white boxes at page
// pixels (1000, 1550), (1000, 1700) and (1000, 2200), i.e. at picture pixels
// (600, 1250), (600, 1400) and (600, 1900). The part of the picture under and
// around those lines stays white; everything else lives above it, to its left
// and in the frame.

constexpr int CertWidth = 1700;
constexpr int CertHeight = 2200;
constexpr double TextLeft = 600;
constexpr double ClassTop = 1250, NameTop = 1400, ResultTop = 1900;
constexpr double PrinterDpi = 300;

const QColor Navy(22, 44, 108);
const QColor Blue(44, 86, 168);
const QColor Gold(204, 154, 38);
const QColor GoldLight(250, 220, 120);
const QColor GoldDark(134, 90, 12);

// Courier as the program prints it (Nimbus Mono PS stands in for it).
QFont printerFont(double points)
{
    return namedFont(QStringLiteral("Nimbus Mono PS"), points * PrinterDpi / 72.0, QFont::Bold);
}

EarLook goldEar(double scale)
{
    EarLook look;
    look.light = QColor(252, 226, 130);
    look.dark = QColor(196, 140, 28);
    look.edge = GoldDark;
    look.awn = QColor(190, 140, 40);
    look.edgeWidth = 1.6 * scale;
    look.awnWidth = 1.6 * scale;
    look.awnLength = 0.55;
    look.rows = 8;
    return look;
}

// A band of interlaced waves along one straight side of the frame, from a to b,
// `half` wide on each side of the line.
void drawRope(QPainter &p, QPointF a, QPointF b, double half)
{
    const QLineF line(a, b);
    const double length = line.length();
    const double period = length / std::max(1.0, std::round(length / 46.0));
    const QPointF along = (b - a) / length;
    const QPointF across(-along.y(), along.x());
    auto wave = [&](double phase) {
        QPainterPath path;
        for (double s = 0; s <= length + 0.01; s += 2.0) {
            const double off = half * std::sin(2 * Pi * s / period + phase);
            const QPointF pt = a + along * s + across * off;
            if (s == 0)
                path.moveTo(pt);
            else
                path.lineTo(pt);
        }
        return path;
    };
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(mix(Gold, Qt::white, 0.35), 2.0));
    p.drawPath(wave(Pi / 2));
    p.drawPath(wave(3 * Pi / 2));
    p.setPen(QPen(Blue, 3.0));
    p.drawPath(wave(0));
    p.setPen(QPen(Gold, 3.0));
    p.drawPath(wave(Pi));
}

void drawFrame(QPainter &p)
{
    const double W = CertWidth, H = CertHeight;
    auto inset = [&](double d) { return QRectF(d, d, W - 2 * d, H - 2 * d); };
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Navy, 7, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(inset(14));
    p.setPen(QPen(Gold, 2.5));
    p.drawRect(inset(24));
    p.drawRect(inset(62));
    p.setPen(QPen(Navy, 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(inset(70));
    p.setPen(QPen(Gold, 1.5));
    p.drawRect(inset(79));

    const double mid = 43, half = 12, block = 46;
    drawRope(p, QPointF(mid + block, mid), QPointF(W - mid - block, mid), half);
    drawRope(p, QPointF(mid + block, H - mid), QPointF(W - mid - block, H - mid), half);
    drawRope(p, QPointF(mid, mid + block), QPointF(mid, H - mid - block), half);
    drawRope(p, QPointF(W - mid, mid + block), QPointF(W - mid, H - mid - block), half);

    // Corner blocks, each holding a star.
    for (const QPointF corner :
         {QPointF(mid, mid), QPointF(W - mid, mid), QPointF(mid, H - mid), QPointF(W - mid, H - mid)}) {
        const QRectF box(corner.x() - 36, corner.y() - 36, 72, 72);
        p.setPen(QPen(Navy, 4));
        p.setBrush(Qt::white);
        p.drawRect(box);
        p.setPen(QPen(Gold, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box.adjusted(7, 7, -7, -7));
        drawFacetedStar(p, corner, 24, 10, GoldLight, QColor(184, 128, 20), GoldDark, 1.5);
    }
    // Lozenges in the middle of each side.
    for (const QPointF at :
         {QPointF(W / 2, mid), QPointF(W / 2, H - mid), QPointF(mid, H / 2), QPointF(W - mid, H / 2)}) {
        QPainterPath diamond;
        diamond.moveTo(at + QPointF(0, -34));
        diamond.lineTo(at + QPointF(34, 0));
        diamond.lineTo(at + QPointF(0, 34));
        diamond.lineTo(at + QPointF(-34, 0));
        diamond.closeSubpath();
        p.setPen(QPen(Navy, 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::white);
        p.drawPath(diamond);
        drawFacetedStar(p, at, 19, 8, GoldLight, QColor(184, 128, 20), GoldDark, 1.2);
    }
}

// Text along an arc of a ring whose middle is at `radius`, centred on the
// angle `centreDegrees` (0 at the top, clockwise). On the upper arc the letters
// stand on the ring with their feet towards the centre; on the lower arc they
// hang with their heads towards the centre, so both read from left to right.
void drawArcText(QPainter &p, QPointF c, double radius, const QString &text, const QFont &font, const QColor &colour,
                 double centreDegrees, bool upper, double spacing)
{
    const QFontMetricsF metrics(font);
    const double capHalf = metrics.capHeight() / 2;
    double total = 0;
    for (const QChar ch : text)
        total += metrics.horizontalAdvance(ch);
    total += spacing * (text.size() - 1);
    const double span = total / radius * 180.0 / Pi;
    double position = 0;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (const QChar ch : text) {
        const double advance = metrics.horizontalAdvance(ch);
        const double along = (position + advance / 2) / total * span - span / 2;
        QPainterPath glyph;
        glyph.addText(-advance / 2, 0, font, QString(ch));
        QTransform t;
        t.translate(c.x(), c.y());
        if (upper) {
            t.rotate(centreDegrees + along);
            t.translate(0, -radius + capHalf);
        } else {
            t.rotate(centreDegrees - along - 180.0);
            t.translate(0, radius + capHalf);
        }
        p.drawPath(t.map(glyph));
        position += advance + spacing;
    }
    p.restore();
}

void drawSeal(QPainter &p, QPointF c, double R)
{
    // Ribbons hanging below.
    for (int side : {-1, 1}) {
        QPainterPath ribbon;
        const QPointF top = c + QPointF(side * R * 0.25, R * 0.2);
        const QPointF end = c + QPointF(side * R * 0.72, R * 1.78);
        const QPointF dir = (end - top) / QLineF(top, end).length();
        const QPointF across(-dir.y(), dir.x());
        const double w = R * 0.26;
        ribbon.moveTo(top - across * w);
        ribbon.lineTo(end - across * w);
        ribbon.lineTo(end - dir * (w * 0.9));
        ribbon.lineTo(end + across * w);
        ribbon.lineTo(top + across * w);
        ribbon.closeSubpath();
        QLinearGradient g(top - across * w, top + across * w);
        g.setColorAt(0, Blue);
        g.setColorAt(0.5, QColor(60, 110, 200));
        g.setColorAt(1, Navy);
        p.setPen(QPen(Navy, 3, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
        p.setBrush(g);
        p.drawPath(ribbon);
        // A gold stripe along the middle of the ribbon.
        p.setPen(QPen(Gold, w * 0.28, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(top + dir * (R * 0.4), end - dir * (w * 1.15));
    }

    // Scalloped gold rosette.
    QPainterPath rosette;
    for (int i = 0; i <= 720; ++i) {
        const double a = 2 * Pi * i / 720;
        const double r = R * (1.0 + 0.035 * std::cos(36 * a));
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            rosette.moveTo(pt);
        else
            rosette.lineTo(pt);
    }
    rosette.closeSubpath();
    QRadialGradient gold(c + QPointF(-R * 0.35, -R * 0.4), R * 1.5);
    gold.setColorAt(0.0, QColor(255, 236, 160));
    gold.setColorAt(0.5, QColor(226, 178, 60));
    gold.setColorAt(1.0, QColor(168, 114, 18));
    p.setPen(QPen(GoldDark, 3));
    p.setBrush(gold);
    p.drawPath(rosette);

    // Navy ring with the name running round it.
    p.setPen(QPen(GoldDark, 2.5));
    p.setBrush(Navy);
    p.drawEllipse(c, R * 0.84, R * 0.84);
    {
        const QFont font = namedFont(QStringLiteral("P052"), R * 0.17, QFont::Bold);
        drawArcText(p, c, R * 0.67, QStringLiteral("ЗОРЕЛАД"), font, GoldLight, 0, true, R * 0.03);
        drawArcText(p, c, R * 0.67, QStringLiteral("ЗНАННЯ"), font, GoldLight, 180, false, R * 0.03);
        for (double side : {-1.0, 1.0})
            drawFacetedStar(p, c + QPointF(side * R * 0.67, 0), R * 0.07, R * 0.03, GoldLight, Gold, Gold, 0);
    }
    // Gold centre with a star.
    QRadialGradient inner(c + QPointF(-R * 0.2, -R * 0.25), R * 0.8);
    inner.setColorAt(0.0, QColor(255, 240, 180));
    inner.setColorAt(0.6, QColor(232, 188, 72));
    inner.setColorAt(1.0, QColor(190, 136, 28));
    p.setPen(QPen(GoldLight, 3));
    p.setBrush(inner);
    p.drawEllipse(c, R * 0.5, R * 0.5);
    drawFacetedStar(p, c, R * 0.4, R * 0.16, QColor(70, 120, 210), Navy, Navy, 2);
}

// The divider under the heading: a star between two ears lying on their sides.
void drawDivider(QPainter &p, double cx, double y, double halfWidth)
{
    p.setPen(QPen(Gold, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx - halfWidth, y), QPointF(cx - 330, y));
    p.drawLine(QPointF(cx + 330, y), QPointF(cx + halfWidth, y));
    for (double end : {cx - halfWidth, cx + halfWidth}) {
        p.setPen(Qt::NoPen);
        p.setBrush(Gold);
        p.drawEllipse(QPointF(end, y), 6, 6);
    }
    for (int side : {-1, 1}) {
        p.save();
        p.translate(cx + side * 44, y);
        p.rotate(side * 90.0 - side * 4);
        drawEar(p, 270, 62, goldEar(1.0));
        p.restore();
    }
    drawFacetedStar(p, QPointF(cx, y), 34, 14, GoldLight, QColor(184, 128, 20), GoldDark, 2);
}

QImage drawCertificateRgb()
{
    QImage img(CertWidth, CertHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double cx = CertWidth / 2.0;

    drawFrame(p);

    // An arc of stars over the heading.
    struct StarSpot {
        double dx, y, r;
    };
    for (const StarSpot s :
         {StarSpot{0, 200, 84}, StarSpot{190, 226, 48}, StarSpot{-190, 226, 48}, StarSpot{330, 256, 30},
          StarSpot{-330, 256, 30}, StarSpot{440, 284, 18}, StarSpot{-440, 284, 18}}) {
        drawFacetedStar(p, QPointF(cx + s.dx, s.y), s.r, s.r * 0.42, GoldLight, QColor(186, 128, 18), GoldDark,
                        std::max(1.5, s.r * 0.04));
    }

    // Heading.
    {
        QPainterPath heading;
        heading.addText(0, 0, namedFont(QStringLiteral("P052"), 200, QFont::Bold), QStringLiteral("СЕРТИФІКАТ"));
        const QRectF box = heading.boundingRect();
        const double scale = 1300.0 / box.width();
        QTransform t;
        t.translate(cx, 0);
        t.scale(scale, scale);
        t.translate(-box.center().x(), 0);
        heading = t.map(heading);
        const QRectF placed = heading.boundingRect();
        heading.translate(0, 540 - placed.bottom());
        p.fillPath(heading.translated(6, 7), QColor(226, 182, 70));
        QLinearGradient g(0, heading.boundingRect().top(), 0, heading.boundingRect().bottom());
        g.setColorAt(0, Blue);
        g.setColorAt(1, Navy);
        p.fillPath(heading, g);
    }

    drawDivider(p, cx, 630, 620);

    // The program's name and what it is.
    {
        const QPainterPath name =
            centredText(QStringLiteral("Зорелад"), namedFont(QStringLiteral("Z003"), 210), cx, 880);
        p.fillPath(name.translated(4, 5), QColor(22, 44, 108, 70));
        QLinearGradient g(0, 720, 0, 900);
        g.setColorAt(0, QColor(232, 184, 60));
        g.setColorAt(1, QColor(168, 112, 14));
        p.setPen(QPen(GoldDark, 2));
        p.setBrush(g);
        p.drawPath(name);
        QFont plain = namedFont(QStringLiteral("P052"), 54);
        plain.setLetterSpacing(QFont::AbsoluteSpacing, 3);
        const QPainterPath line = centredText(QStringLiteral("шкільна програма перевірки знань"), plain, cx, 990);
        p.fillPath(line, QColor(58, 70, 110));
    }

    // Thin rule and "засвідчує, що" leading into the printed lines.
    {
        p.setPen(QPen(Gold, 2));
        p.drawLine(QPointF(cx - 380, 1060), QPointF(cx + 380, 1060));
        p.setPen(Qt::NoPen);
        p.setBrush(Gold);
        QPainterPath diamond;
        diamond.moveTo(cx, 1048);
        diamond.lineTo(cx + 12, 1060);
        diamond.lineTo(cx, 1072);
        diamond.lineTo(cx - 12, 1060);
        diamond.closeSubpath();
        p.drawPath(diamond);
        QPainterPath lead;
        lead.addText(TextLeft, 1200, namedFont(QStringLiteral("P052"), 84, QFont::Normal, true),
                     QStringLiteral("засвідчує, що"));
        p.fillPath(lead, Navy);
    }

    // The seal in the left column, beside the pupil's lines.
    drawSeal(p, QPointF(330, 1500), 180);

    // "склав(-ла) тест" in front of the result line, on its baseline.
    {
        const QFontMetricsF courier(printerFont(20));
        const double baseline = ResultTop + courier.ascent();
        const QFont font = namedFont(QStringLiteral("P052"), 70, QFont::Normal, true);
        const QString text = QStringLiteral("склав(-ла) тест");
        const double width = QFontMetricsF(font).horizontalAdvance(text);
        QPainterPath words;
        words.addText(TextLeft - 30 - width, baseline, font, text);
        p.fillPath(words, Navy);
    }
    p.end();
    return img;
}

// --- palette and BMP ------------------------------------------------------

struct Rgb {
    int r, g, b;
};

int distance2(const Rgb &a, const Rgb &b)
{
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    // Weighted towards green, as the eye is.
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// A 256-colour palette for the picture: median cut over its colours, weighted
// by how often each occurs, refined by a few rounds of k-means. Pure white is
// always in it, so the white of the page stays exactly white.
std::vector<Rgb> makePalette(const QImage &img, int size)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            ++counts[row[x] & 0xFFFFFF];
    }
    struct Entry {
        Rgb c;
        int n;
    };
    std::vector<Entry> colours;
    colours.reserve(counts.size());
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        colours.push_back({{qRed(it.key()), qGreen(it.key()), qBlue(it.key())}, it.value()});
    // Hash order differs between runs: sort for a repeatable result.
    std::sort(colours.begin(), colours.end(), [](const Entry &a, const Entry &b) {
        return std::tie(a.c.r, a.c.g, a.c.b) < std::tie(b.c.r, b.c.g, b.c.b);
    });

    struct Box {
        std::size_t begin, end;
    };
    auto channel = [](const Rgb &c, int k) { return k == 0 ? c.r : k == 1 ? c.g : c.b; };
    auto spread = [&](const Box &box, int &axis) {
        int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
        for (std::size_t i = box.begin; i < box.end; ++i)
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], channel(colours[i].c, k));
                hi[k] = std::max(hi[k], channel(colours[i].c, k));
            }
        const int w[3] = {3, 4, 2};
        int best = -1;
        axis = 0;
        for (int k = 0; k < 3; ++k)
            if ((hi[k] - lo[k]) * w[k] > best) {
                best = (hi[k] - lo[k]) * w[k];
                axis = k;
            }
        return best;
    };
    std::vector<Box> boxes{{0, colours.size()}};
    while (int(boxes.size()) < size - 1) {
        // Split the box with the largest spread times the square root of its weight.
        int pick = -1, axis = 0;
        double score = 0;
        for (std::size_t b = 0; b < boxes.size(); ++b) {
            if (boxes[b].end - boxes[b].begin < 2)
                continue;
            int a = 0;
            const int s = spread(boxes[b], a);
            double weight = 0;
            for (std::size_t i = boxes[b].begin; i < boxes[b].end; ++i)
                weight += colours[i].n;
            const double value = s * std::sqrt(weight);
            if (value > score) {
                score = value;
                pick = int(b);
                axis = a;
            }
        }
        if (pick < 0)
            break;
        Box box = boxes[std::size_t(pick)];
        std::sort(colours.begin() + long(box.begin), colours.begin() + long(box.end),
                  [&](const Entry &a, const Entry &b) {
                      return std::make_tuple(channel(a.c, axis), a.c.r, a.c.g, a.c.b)
                          < std::make_tuple(channel(b.c, axis), b.c.r, b.c.g, b.c.b);
                  });
        double total = 0;
        for (std::size_t i = box.begin; i < box.end; ++i)
            total += colours[i].n;
        double run = 0;
        std::size_t cut = box.begin + 1;
        for (std::size_t i = box.begin; i < box.end - 1; ++i) {
            run += colours[i].n;
            cut = i + 1;
            if (run >= total / 2)
                break;
        }
        boxes[std::size_t(pick)] = {box.begin, cut};
        boxes.push_back({cut, box.end});
    }
    std::vector<Rgb> palette;
    for (const Box &box : boxes) {
        double r = 0, g = 0, b = 0, n = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            r += double(colours[i].c.r) * colours[i].n;
            g += double(colours[i].c.g) * colours[i].n;
            b += double(colours[i].c.b) * colours[i].n;
            n += colours[i].n;
        }
        palette.push_back({int(std::lround(r / n)), int(std::lround(g / n)), int(std::lround(b / n))});
    }

    // k-means rounds; white stays fixed at index 0.
    palette.insert(palette.begin(), Rgb{255, 255, 255});
    for (int round = 0; round < 6; ++round) {
        std::vector<double> sr(palette.size()), sg(palette.size()), sb(palette.size()), sn(palette.size());
        for (const Entry &e : colours) {
            std::size_t best = 0;
            int bestD = 1 << 30;
            for (std::size_t k = 0; k < palette.size(); ++k) {
                const int d = distance2(e.c, palette[k]);
                if (d < bestD) {
                    bestD = d;
                    best = k;
                }
            }
            sr[best] += double(e.c.r) * e.n;
            sg[best] += double(e.c.g) * e.n;
            sb[best] += double(e.c.b) * e.n;
            sn[best] += e.n;
        }
        for (std::size_t k = 1; k < palette.size(); ++k)
            if (sn[k] > 0)
                palette[k] = {int(std::lround(sr[k] / sn[k])), int(std::lround(sg[k] / sn[k])),
                              int(std::lround(sb[k] / sn[k]))};
    }
    while (int(palette.size()) < size)
        palette.push_back({0, 0, 0});
    return palette;
}

// Maps the picture onto the palette with Floyd-Steinberg error diffusion.
// Colours that are in the palette exactly, like the page's white, come through
// untouched as long as no error reaches them.
QImage quantize(const QImage &img, const std::vector<Rgb> &palette)
{
    const int w = img.width(), h = img.height();
    QImage out(w, h, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (const Rgb &c : palette)
        table.push_back(qRgb(c.r, c.g, c.b));
    out.setColorTable(table);
    out.setDotsPerMeterX(11811);
    out.setDotsPerMeterY(11811);

    std::vector<int> cache(1 << 18, -1);
    auto nearest = [&](const Rgb &c) {
        const int key = ((c.r >> 2) << 12) | ((c.g >> 2) << 6) | (c.b >> 2);
        int &slot = cache[std::size_t(key)];
        if (slot < 0) {
            int bestD = 1 << 30;
            for (std::size_t k = 0; k < palette.size(); ++k) {
                const int d = distance2(c, palette[k]);
                if (d < bestD) {
                    bestD = d;
                    slot = int(k);
                }
            }
        }
        return slot;
    };
    QHash<QRgb, int> exact;
    for (int k = int(palette.size()) - 1; k >= 0; --k)
        exact.insert(table[k] & 0xFFFFFF, k);

    std::vector<std::array<float, 3>> errNow(std::size_t(w) + 2), errNext(std::size_t(w) + 2);
    for (int y = 0; y < h; ++y) {
        std::fill(errNext.begin(), errNext.end(), std::array<float, 3>{0, 0, 0});
        const QRgb *src = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        uchar *dst = out.scanLine(y);
        const bool forward = (y % 2) == 0;
        for (int i = 0; i < w; ++i) {
            const int x = forward ? i : w - 1 - i;
            const std::size_t at = std::size_t(x) + 1;
            const float want[3] = {qRed(src[x]) + errNow[at][0], qGreen(src[x]) + errNow[at][1],
                                   qBlue(src[x]) + errNow[at][2]};
            const Rgb c{std::clamp(int(std::lround(want[0])), 0, 255), std::clamp(int(std::lround(want[1])), 0, 255),
                        std::clamp(int(std::lround(want[2])), 0, 255)};
            const auto hit = exact.constFind(qRgb(c.r, c.g, c.b) & 0xFFFFFF);
            const int index = hit != exact.constEnd() ? hit.value() : nearest(c);
            dst[x] = uchar(index);
            const Rgb &got = palette[std::size_t(index)];
            const float e[3] = {want[0] - got.r, want[1] - got.g, want[2] - got.b};
            const std::size_t ahead = forward ? at + 1 : at - 1;
            const std::size_t behind = forward ? at - 1 : at + 1;
            for (int k = 0; k < 3; ++k) {
                errNow[ahead][std::size_t(k)] += e[k] * 7.0f / 16.0f;
                errNext[behind][std::size_t(k)] += e[k] * 3.0f / 16.0f;
                errNext[at][std::size_t(k)] += e[k] * 5.0f / 16.0f;
                errNext[ahead][std::size_t(k)] += e[k] * 1.0f / 16.0f;
            }
        }
        std::swap(errNow, errNext);
    }
    return out;
}

// An uncompressed 8-bit Windows bitmap at 300 dpi: BITMAPFILEHEADER,
// BITMAPINFOHEADER, 256 palette entries, rows bottom-up, each padded to four bytes.
QByteArray encodeBmp8(const QImage &img)
{
    if (img.format() != QImage::Format_Indexed8 || img.colorCount() != 256)
        fail(QStringLiteral("the certificate must be an indexed picture with 256 colours"));
    BmpLayout layout;
    layout.width = img.width();
    layout.height = img.height(); // positive: bottom-up rows
    layout.bitCount = 8;
    layout.palette = img.colorTable();
    layout.pixelsPerMetre = 11811;
    layout.writeImageSize = true;
    layout.pixel = [&img](int x, int y) { return quint32(img.constScanLine(y)[x]); };
    return writeBmp(layout);
}

// ---------------------------------------------------------------------------
// Application icon: a gold star over two ears of wheat on a sky-blue tile.

QImage drawIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double unit = 256.0 / size; // one pixel in drawing units
    p.scale(size / 256.0, size / 256.0);

    const double margin = std::max(8.0, unit * 0.5);
    const QRectF tile(margin, margin, 256 - 2 * margin, 256 - 2 * margin);
    QPainterPath shape;
    shape.addRoundedRect(tile, 52, 52);
    QLinearGradient sky(0, tile.top(), 0, tile.bottom());
    sky.setColorAt(0.0, QColor(20, 92, 196));
    sky.setColorAt(0.6, QColor(56, 142, 226));
    sky.setColorAt(1.0, QColor(120, 190, 246));
    p.fillPath(shape, sky);

    const bool small = size < 32;
    const QPointF star = small ? QPointF(128, 137) : QPointF(128, 100);
    p.save();
    p.setClipPath(shape);
    // Glow behind the star.
    {
        QRadialGradient g(star, small ? 120 : 110);
        g.setColorAt(0, QColor(255, 250, 210, 150));
        g.setColorAt(1, QColor(255, 250, 210, 0));
        p.fillRect(QRectF(0, 0, 256, 256), g);
    }
    if (!small) {
        EarLook look;
        look.light = QColor(255, 236, 130);
        look.dark = QColor(226, 160, 18);
        look.edge = QColor(150, 96, 0);
        look.awn = QColor(255, 232, 140);
        look.edgeWidth = std::max(unit * 0.7, 2.0);
        look.awnWidth = std::max(unit * 0.8, 2.5);
        look.awnLength = size >= 128 ? 0.28 : 0.0;
        look.rows = size >= 64 ? 5 : 4;
        for (int side : {-1, 1}) {
            p.save();
            p.translate(128 + side * 12, 236);
            p.rotate(side * 33.0);
            // The stalk, then the ear at its top.
            p.setPen(QPen(look.edge, std::max(unit * 1.4, 6.0), Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(0, 0), QPointF(0, -46));
            p.translate(0, -40);
            drawEar(p, 112, 42, look);
            p.restore();
        }
    }
    p.restore();
    const double outer = small ? 102 : 76;
    drawFacetedStar(p, star, outer, outer * 0.42, QColor(255, 244, 160), QColor(232, 160, 0), QColor(140, 84, 0),
                    std::max(unit * 1.0, 3.0));

    // A darker edge keeps the tile apart from any background.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(10, 56, 130, 200), std::max(unit, 3.0)));
    QPainterPath edge;
    const double half = std::max(unit, 3.0) / 2;
    edge.addRoundedRect(tile.adjusted(half, half, -half, -half), 52 - half, 52 - half);
    p.drawPath(edge);
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

// ---------------------------------------------------------------------------
// Writing and checking

void makeDir(const QString &dir)
{
    if (!QDir().mkpath(dir))
        fail(QStringLiteral("cannot create %1").arg(dir));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail(QStringLiteral("cannot write %1").arg(path));
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1").arg(path));
    return file.readAll();
}

void writePng(const QString &path, const QImage &img, int width, int height)
{
    if (img.width() != width || img.height() != height)
        fail(QStringLiteral("%1: drawn at %2 x %3, wanted %4 x %5")
                 .arg(path)
                 .arg(img.width())
                 .arg(img.height())
                 .arg(width)
                 .arg(height));
    QImageWriter writer(path, "png");
    if (!writer.write(img))
        fail(QStringLiteral("%1: %2").arg(path, writer.errorString()));
    const QImage back(path);
    if (back.size() != QSize(width, height) || !back.hasAlphaChannel())
        fail(QStringLiteral("%1 does not read back as a %2 x %3 picture with transparency")
                 .arg(path)
                 .arg(width)
                 .arg(height));
    // The corners lie outside every shape: they must be see-through.
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(width - 1, 0), QPoint(0, height - 1), QPoint(width - 1, height - 1)})
        if (qAlpha(back.pixel(corner)) != 0)
            fail(QStringLiteral("%1: corner %2,%3 is not transparent").arg(path).arg(corner.x()).arg(corner.y()));
}

// Walks the JPEG's markers up to the first scan and insists on one baseline
// frame (SOF0) of the expected size with three components.
void checkBaselineJpeg(const QString &path, int width, int height)
{
    const QByteArray d = readBytes(path);
    auto byte = [&](int i) { return i < d.size() ? int(uchar(d[i])) : -1; };
    if (byte(0) != 0xFF || byte(1) != 0xD8)
        fail(QStringLiteral("%1 is not a JPEG").arg(path));
    int at = 2;
    int frames = 0;
    while (true) {
        if (byte(at) != 0xFF)
            fail(QStringLiteral("%1: broken marker at byte %2").arg(path).arg(at));
        const int marker = byte(at + 1);
        if (marker == 0xDA)
            break;
        const int length = (byte(at + 2) << 8) | byte(at + 3);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            if (marker != 0xC0)
                fail(QStringLiteral("%1: frame marker FF%2 is not baseline")
                         .arg(path)
                         .arg(marker, 2, 16, QLatin1Char('0')));
            const int h = (byte(at + 5) << 8) | byte(at + 6);
            const int w = (byte(at + 7) << 8) | byte(at + 8);
            const int components = byte(at + 9);
            if (w != width || h != height || components != 3)
                fail(QStringLiteral("%1: frame %2 x %3 with %4 components").arg(path).arg(w).arg(h).arg(components));
            ++frames;
        }
        at += 2 + length;
        if (at >= d.size())
            fail(QStringLiteral("%1 has no scan").arg(path));
    }
    if (frames != 1)
        fail(QStringLiteral("%1: %2 frame headers").arg(path).arg(frames));
}

void writeJpeg(const QString &path, const QImage &img)
{
    QImageWriter writer(path, "jpeg");
    writer.setQuality(85);
    writer.setProgressiveScanWrite(false);
    writer.setOptimizedWrite(true); // better Huffman tables; still a baseline frame
    if (!writer.write(img.convertToFormat(QImage::Format_RGB32)))
        fail(QStringLiteral("%1: %2").arg(path, writer.errorString()));
    checkBaselineJpeg(path, img.width(), img.height());
}

void checkBmp(const QString &path, const QImage &indexed)
{
    const QByteArray d = readBytes(path);
    auto le16 = [&](int i) { return int(uchar(d[i])) | (int(uchar(d[i + 1])) << 8); };
    auto le32 = [&](int i) { return std::uint32_t(le16(i)) | (std::uint32_t(le16(i + 2)) << 16); };
    if (d.size() < 54 || d[0] != 'B' || d[1] != 'M' || le32(2) != std::uint32_t(d.size()) || le32(14) != 40
        || le16(28) != 8 || le32(30) != 0 || le32(46) != 256 || le32(38) != 11811)
        fail(QStringLiteral("%1: unexpected bitmap header").arg(path));
    const QImage back(path, "bmp");
    if (back.isNull() || back.size() != indexed.size())
        fail(QStringLiteral("%1 does not read back").arg(path));
    const QImage a = back.convertToFormat(QImage::Format_RGB32);
    const QImage b = indexed.convertToFormat(QImage::Format_RGB32);
    if (a != b)
        fail(QStringLiteral("%1 reads back with different pixels").arg(path));
}

// Previews for a human eye, not used by the program.
void writeProofs(const QString &dir, const QImage &background, const QImage &certificate)
{
    makeDir(dir);
    background.scaled(641, 337, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .save(dir + QStringLiteral("/background-in-window.png"));
    background.scaled(641, 337, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .save(dir + QStringLiteral("/background-in-window-fast.png"));

    // The certificate with the three printed lines, as on a 300-dpi page.
    QImage page = certificate.convertToFormat(QImage::Format_RGB32);
    {
        QPainter p(&page);
        p.setRenderHint(QPainter::TextAntialiasing);
        struct Line {
            double top, points;
            QString text;
        };
        for (const Line &line : {Line{ClassTop, 16, QStringLiteral("учень 5-А класу")},
                                 Line{NameTop, 20, QStringLiteral("Олександра Коваленко")},
                                 Line{ResultTop, 20, QStringLiteral("1 рівня ВІДМІННО")}}) {
            const QFont font = printerFont(line.points);
            const QFontMetricsF m(font);
            const QRectF box(TextLeft, line.top, m.horizontalAdvance(line.text), m.height());
            p.fillRect(box, Qt::white);
            p.setFont(font);
            p.setPen(Qt::black);
            p.drawText(QPointF(TextLeft, line.top + m.ascent()), line.text);
            p.setPen(QPen(QColor(255, 0, 0, 90), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(box);
        }
    }
    page.scaled(page.width() / 3, page.height() / 3, Qt::KeepAspectRatio, Qt::SmoothTransformation)
        .save(dir + QStringLiteral("/certificate-with-text.png"));
    certificate.convertToFormat(QImage::Format_RGB32)
        .copy(0, 0, 900, 900)
        .save(dir + QStringLiteral("/certificate-corner.png"));

    // All icon sizes side by side, on light and on dark ground.
    QImage sheet(720, 640, QImage::Format_RGB32);
    sheet.fill(QColor(236, 236, 236));
    {
        QPainter p(&sheet);
        p.fillRect(QRect(360, 0, 360, 640), QColor(48, 52, 60));
        for (int half : {0, 360}) {
            int x = half + 10;
            for (int s : {16, 22, 24, 32, 48, 64}) {
                p.drawImage(QPoint(x, 10), drawIcon(s));
                x += s + 10;
            }
            p.drawImage(QPoint(half + 10, 90), drawIcon(128));
            p.drawImage(QPoint(half + 10, 230), drawIcon(256));
        }
    }
    sheet.save(dir + QStringLiteral("/icons.png"));
}

int run(const QStringList &args)
{
    if (args.size() != 2 && !(args.size() == 4 && args[2] == QLatin1String("--proofs"))) {
        std::fprintf(stderr, "usage: draw-pictures ROOT [--proofs DIR]\n");
        return 2;
    }
    const QString root = QDir(args[1]).absolutePath();
    const QString pictures = root + QStringLiteral("/src/resources/pictures");
    const QString media = root + QStringLiteral("/data/Media");
    const QString icons = root + QStringLiteral("/packaging/icons");
    for (const QString &dir : {pictures, media, icons})
        makeDir(dir);

    const QImage background = drawBackground();
    writeJpeg(pictures + QStringLiteral("/background.jpg"), background);
    writePng(pictures + QStringLiteral("/next.png"), drawNext(), 95, 49);
    writePng(pictures + QStringLiteral("/printer.png"), drawPrinter(), 48, 48);
    writePng(pictures + QStringLiteral("/stop.png"), drawStop(), 428, 413);

    const QImage certificate = drawCertificateRgb();
    const QImage indexed = quantize(certificate, makePalette(certificate, 256));
    // The printed lines go on white boxes: the ground around them must be the
    // plain white of the page, from the left edge of the lines to the frame.
    {
        const QRgb white = qRgb(255, 255, 255);
        for (int y = int(ClassTop) - 10; y < int(ResultTop) + 130; ++y)
            for (int x = int(TextLeft); x < CertWidth - 82; ++x)
                if (indexed.pixel(x, y) != white)
                    fail(QStringLiteral("certificate: pixel %1,%2 under the printed lines is not white").arg(x).arg(y));
    }
    const QString bmp = media + QStringLiteral("/s.bmp");
    writeFile(bmp, encodeBmp8(indexed));
    checkBmp(bmp, indexed);

    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        writePng(icons + QStringLiteral("/zorelad-%1.png").arg(size), drawIcon(size), size, size);

    if (args.size() == 4)
        writeProofs(args[3], background, indexed);

    for (const QString &path : {pictures + QStringLiteral("/background.jpg"), pictures + QStringLiteral("/next.png"),
                                pictures + QStringLiteral("/printer.png"), pictures + QStringLiteral("/stop.png"), bmp})
        std::printf("%-60s %9lld bytes\n", qPrintable(QDir(root).relativeFilePath(path)), QFileInfo(path).size());
    std::printf("%-60s\n", qPrintable(QDir(root).relativeFilePath(icons) + "/zorelad-*.png"));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Fonts need a GUI application; no screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        return run(app.arguments());
    } catch (const std::exception &e) {
        std::fprintf(stderr, "draw-pictures: %s\n", e.what());
        return 1;
    }
}
