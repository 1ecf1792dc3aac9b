// makepictures: draws the seven background pictures of the show's `texture` bundle
// and writes them as PNG files (8-bit RGB, no alpha, not interlaced) into one folder.
//
//     makepictures <folder>
//
// Every picture is a pure function of its pixel position: no clock, no C library
// random numbers, no fonts. Running the tool twice gives the same bytes, so the
// committed pictures in app/pictures can always be regenerated with
// `build/tools/makepictures app/pictures`.

#include <QDir>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;

// ---------------------------------------------------------------- small math

struct Vec2 {
    double x, y;
};

Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
Vec2 operator*(Vec2 a, double s) { return {a.x * s, a.y * s}; }
double dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
double length(Vec2 a) { return std::sqrt(dot(a, a)); }

struct Rgb {
    double r, g, b;
};

Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
Rgb operator*(Rgb a, double s) { return {a.r * s, a.g * s, a.b * s}; }
Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }

// A colour written as 0xRRGGBB.
Rgb hex(std::uint32_t c)
{
    return {((c >> 16) & 0xff) / 255.0, ((c >> 8) & 0xff) / 255.0, (c & 0xff) / 255.0};
}

double clamp01(double v) { return std::min(1.0, std::max(0.0, v)); }
double mix(double a, double b, double t) { return a + (b - a) * t; }
Rgb mix(Rgb a, Rgb b, double t) { return a + (b - a) * t; }

double smoothstep(double e0, double e1, double v)
{
    const double t = clamp01((v - e0) / (e1 - e0));
    return t * t * (3.0 - 2.0 * t);
}

double fract(double v) { return v - std::floor(v); }

// Colour along a gradient of evenly spaced stops, t in [0, 1].
Rgb gradient(std::initializer_list<std::uint32_t> stops, double t)
{
    const int n = int(stops.size());
    const double f = clamp01(t) * (n - 1);
    const int i = std::min(n - 2, int(f));
    return mix(hex(stops.begin()[i]), hex(stops.begin()[i + 1]), f - i);
}

// Screen blend: brightens without ever passing white.
Rgb screen(Rgb a, Rgb b)
{
    return {1.0 - (1.0 - a.r) * (1.0 - b.r), 1.0 - (1.0 - a.g) * (1.0 - b.g),
            1.0 - (1.0 - a.b) * (1.0 - b.b)};
}

// ---------------------------------------------------------------- hashing and noise

// An integer hash (a murmur-style finaliser): the only source of irregularity.
std::uint32_t hash(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    std::uint32_t h = seed * 0x9e3779b9u ^ std::uint32_t(x) * 0x85ebca6bu ^ std::uint32_t(y) * 0xc2b2ae35u;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

// Uniform in [0, 1).
double hash01(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    return (hash(x, y, seed) >> 8) / 16777216.0;
}

// Smooth value noise in [0, 1].
double valueNoise(double x, double y, std::uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const std::int32_t ix = std::int32_t(fx), iy = std::int32_t(fy);
    const double tx = smoothstep(0.0, 1.0, x - fx), ty = smoothstep(0.0, 1.0, y - fy);
    const double a = hash01(ix, iy, seed), b = hash01(ix + 1, iy, seed);
    const double c = hash01(ix, iy + 1, seed), d = hash01(ix + 1, iy + 1, seed);
    return mix(mix(a, b, tx), mix(c, d, tx), ty);
}

// Three octaves of value noise, in [0, 1].
double fbm(double x, double y, std::uint32_t seed)
{
    double sum = 0.0, amplitude = 0.5, total = 0.0;
    for (int octave = 0; octave < 3; ++octave) {
        sum += amplitude * valueNoise(x, y, seed + octave);
        total += amplitude;
        x = x * 2.03 + 17.1;
        y = y * 2.03 - 9.7;
        amplitude *= 0.5;
    }
    return sum / total;
}

// ---------------------------------------------------------------- shapes (signed distances)

double sdCircle(Vec2 p, Vec2 c, double r) { return length(p - c) - r; }

// Approximate distance to an axis-aligned ellipse; exact enough for edges.
double sdEllipse(Vec2 p, Vec2 c, double rx, double ry)
{
    const Vec2 q = p - c;
    const double k = std::sqrt((q.x * q.x) / (rx * rx) + (q.y * q.y) / (ry * ry));
    return (k - 1.0) * std::min(rx, ry);
}

// Box of half size (hx, hy) with corners rounded by r.
double sdRoundBox(Vec2 p, Vec2 c, double hx, double hy, double r)
{
    const double qx = std::abs(p.x - c.x) - hx + r, qy = std::abs(p.y - c.y) - hy + r;
    const double outside = length({std::max(qx, 0.0), std::max(qy, 0.0)});
    return outside + std::min(std::max(qx, qy), 0.0) - r;
}

// Thick line from a to b, radius r.
double sdCapsule(Vec2 p, Vec2 a, Vec2 b, double r)
{
    const Vec2 pa = p - a, ba = b - a;
    const double h = clamp01(dot(pa, ba) / dot(ba, ba));
    return length(pa - ba * h) - r;
}

// Ring of radius r and half thickness w, kept where the direction from c lies
// within `spread` radians of `direction`; its ends are round.
double sdArc(Vec2 p, Vec2 c, double r, double w, double direction, double spread)
{
    const Vec2 q = p - c;
    double a = std::atan2(q.y, q.x) - direction;
    a = std::remainder(a, 2.0 * pi);
    if (std::abs(a) <= spread)
        return std::abs(length(q) - r) - w;
    const double end = direction + (a > 0 ? spread : -spread);
    return length(q - Vec2{r * std::cos(end), r * std::sin(end)}) - w;
}

double unite(double a, double b) { return std::min(a, b); }
double intersect(double a, double b) { return std::max(a, b); }

// Paints a shape over `under`: an outline of width `outline` around a fill.
// `aa` is the width of the soft edge, about one pixel.
Rgb paint(Rgb under, double d, Rgb fill, double aa, double outline = 0.0, Rgb ink = {0, 0, 0})
{
    if (outline > 0.0)
        under = mix(under, ink, clamp01(0.5 - (d - outline) / aa));
    return mix(under, fill, clamp01(0.5 - d / aa));
}

// ---------------------------------------------------------------- rendering

using Shader = std::function<Rgb(double x, double y)>;

// Renders a square picture. The shader sees x to the right and y upwards, both
// from -1 to 1 across the picture; each pixel is the mean of samples x samples.
QImage render(int size, int samples, const Shader& shade)
{
    QImage image(size, size, QImage::Format_RGB888);
    for (int row = 0; row < size; ++row) {
        uchar* line = image.scanLine(row);
        for (int column = 0; column < size; ++column) {
            Rgb sum{0, 0, 0};
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const double x = (column + (sx + 0.5) / samples) / size * 2.0 - 1.0;
                    const double y = 1.0 - (row + (sy + 0.5) / samples) / size * 2.0;
                    sum = sum + shade(x, y);
                }
            }
            sum = sum * (1.0 / (samples * samples));
            line[3 * column + 0] = uchar(std::floor(clamp01(sum.r) * 255.0 + 0.5));
            line[3 * column + 1] = uchar(std::floor(clamp01(sum.g) * 255.0 + 0.5));
            line[3 * column + 2] = uchar(std::floor(clamp01(sum.b) * 255.0 + 0.5));
        }
    }
    return image;
}

// ---------------------------------------------------------------- the pictures

// bkg1a: northern lights. Curtains of green fading into violet over a night sky.
Rgb aurora(double x, double y)
{
    Rgb colour = gradient({0x1b0a3c, 0x0a1740, 0x04102a, 0x020814}, (y + 1.0) * 0.5);
    struct Curtain {
        double base, amplitude, frequency, phase, height, strength;
        Rgb low, high;
    };
    const Curtain curtains[] = {
        {-0.45, 0.22, 2.1, 0.4, 0.95, 1.0, hex(0x2dffa0), hex(0x7a3cff)},
        {-0.05, 0.18, 2.9, 2.3, 0.70, 0.8, hex(0x44f5ff), hex(0xff4fd8)},
        {0.35, 0.14, 3.7, 4.1, 0.55, 0.65, hex(0x9dff5c), hex(0x30c8ff)},
    };
    for (const Curtain& c : curtains) {
        const double edge = c.base + c.amplitude * std::sin(c.frequency * x + c.phase)
                            + 0.07 * std::sin(2.3 * c.frequency * x - 1.7 * c.phase);
        const double above = y - edge;
        // A sharp lower hem and a long glow upwards.
        const double profile = above < 0.0 ? std::exp(-above * above / 0.0035)
                                           : std::exp(-above / (0.35 * c.height));
        const double rays = 0.72 + 0.28 * std::sin(19.0 * x + 3.0 * std::sin(4.0 * x + c.phase));
        const double intensity = c.strength * profile * rays;
        const Rgb tint = mix(c.low, c.high, smoothstep(0.0, c.height, above));
        colour = screen(colour, tint * clamp01(intensity));
    }
    return colour;
}

// bkg2a: a rose window of stained glass. Cells around rings of seed points,
// in jewel colours, joined by dark lead.
Rgb stainedGlass(double x, double y)
{
    struct Seed {
        Vec2 at;
        int ring;
        int index;
    };
    static const std::vector<Seed> seeds = [] {
        std::vector<Seed> list{{{0.0, 0.0}, 0, 0}};
        for (int ring = 1; ring <= 8; ++ring) {
            const int count = 6 * ring;
            const double radius = 0.19 * ring;
            for (int i = 0; i < count; ++i) {
                const double jitter = 0.22 * (hash01(ring, i, 7) - 0.5);
                const double angle = 2.0 * pi * (i + 0.5 * (ring % 2) + jitter) / count;
                const double r = radius * (1.0 + 0.12 * (hash01(ring, i, 8) - 0.5));
                list.push_back({{r * std::cos(angle), r * std::sin(angle)}, ring, i});
            }
        }
        return list;
    }();

    const Vec2 p{x, y};
    // Nearest seed, then the distance to the nearest cell border.
    std::size_t nearest = 0;
    double best = 1e9;
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        const double d = dot(p - seeds[i].at, p - seeds[i].at);
        if (d < best) {
            best = d;
            nearest = i;
        }
    }
    const Seed& cell = seeds[nearest];
    double border = 1e9;
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        if (i == nearest)
            continue;
        const Vec2 ab = seeds[i].at - cell.at;
        const double len = length(ab);
        if (len > 0.9)
            continue;
        const Vec2 mid = (cell.at + seeds[i].at) * 0.5;
        border = std::min(border, dot(mid - p, ab * (1.0 / len)));
    }

    static const std::uint32_t jewels[] = {0xc8102e, 0x1f4fd1, 0x0f9d58, 0xf4a81d,
                                           0x7b2cbf, 0x00a6a6, 0xe8590c, 0x2b2d9e};
    // Rings alternate between two families; neighbours within a ring alternate too.
    // Each ring takes a pair of colours and alternates them around the window.
    const int pick = cell.ring == 0 ? 3 : (cell.ring * 5 + (cell.index % 2) * 3) % 8;
    Rgb glass = hex(jewels[pick]);

    // Light through the glass: brightest at the cell's heart, mottled a little.
    const double heart = length(p - cell.at);
    const double glow = 0.62 + 0.55 * std::exp(-heart * heart / 0.012);
    const double mottle = 0.88 + 0.24 * fbm(x * 6.0, y * 6.0, 3);
    glass = screen(glass * (glow * mottle), hex(0xfff2d0) * (0.18 * std::exp(-heart * heart / 0.004)));

    // The whole window is lit from the middle.
    const double radius = length(p);
    glass = glass * (1.05 - 0.35 * smoothstep(0.3, 1.4, radius));

    const double lead = 0.011;
    const Rgb leadColour = mix(hex(0x1a1418), hex(0x3a3036), smoothstep(lead, 0.0, border));
    return mix(leadColour, glass, smoothstep(lead - 0.003, lead + 0.004, border));
}

// bkg3a: two sets of concentric rings interfering in a moire of magenta and gold.
Rgb moire(double x, double y)
{
    const double wavelength = 0.115;
    const double r1 = length({x - 0.21, y - 0.08});
    const double r2 = length({x + 0.21, y + 0.08});
    const double r0 = length({x, y});
    const double a = std::cos(2.0 * pi * r1 / wavelength);
    const double b = std::cos(2.0 * pi * r2 / wavelength);
    const double beat = 0.5 + 0.5 * a * b; // bright where both rings agree
    const double shade = smoothstep(0.0, 1.0, beat);
    const Rgb dark = gradient({0x12002e, 0x200a4a, 0x061a3a}, r0 / 1.3);
    const Rgb light = gradient({0xffe08a, 0xff5fa2, 0xb04dff, 0x39c6ff}, r0 / 1.25);
    Rgb colour = mix(dark, light, shade);
    // A soft halo at the heart.
    colour = screen(colour, hex(0xffd6f0) * (0.35 * std::exp(-r0 * r0 / 0.02)));
    return colour * (1.0 - 0.35 * smoothstep(0.8, 1.4, r0));
}

// bkg4a: a retro sunset. A banded sky, a sun cut by stripes, its reflection on the sea.
Rgb sunset(double x, double y)
{
    const double horizon = -0.38;
    const Vec2 sunCentre{0.0, -0.02};
    const double sunRadius = 0.56;
    if (y >= horizon) {
        // Seven flat bands of sky, purple at the top to orange at the horizon.
        const double t = (1.0 - y) / (1.0 - horizon);
        const int band = std::min(6, int(t * 7.0));
        Rgb sky = gradient({0x240b4f, 0x4a0f6b, 0x7d1a7a, 0xb8256f, 0xe8475a, 0xff7a3d, 0xffae3b},
                           band / 6.0);
        const double d = sdCircle({x, y}, sunCentre, sunRadius);
        // Stripes through the lower half of the sun, thicker towards the horizon.
        const double below = (sunCentre.y + 0.1 - y) / (sunRadius + 0.1);
        const double period = 0.16;
        const double phaseInPeriod = fract((sunCentre.y + 0.1 - y) / period);
        const double gap = below > 0.0 ? 0.2 + 0.45 * below : 0.0;
        const bool cut = below > 0.0 && phaseInPeriod < gap;
        const Rgb sun = gradient({0xfff27a, 0xffc84a, 0xff7b54, 0xff3d7f},
                                 (sunCentre.y + sunRadius - y) / (2.0 * sunRadius));
        // Glow around the sun.
        sky = screen(sky, hex(0xff9a5a) * (0.45 * std::exp(-std::max(d, 0.0) / 0.12)));
        // The cuts show the dusk behind the sun, darker than the sky around it.
        const Rgb face = cut ? mix(sky, hex(0x4a1a6e), 0.7) : sun;
        return mix(sky, face, clamp01(0.5 - d / 0.012));
    }
    // The sea: deep violet, with a wavering reflection of the sun in bars.
    const double depth = (horizon - y) / (1.0 + horizon);
    Rgb sea = gradient({0x3b1a6b, 0x22104a, 0x120828}, depth);
    const double bar = fract((horizon - y) / (0.045 + 0.08 * depth));
    const double waver = 0.06 * std::sin(y * 40.0);
    const double width = (sunRadius * 0.9) * (1.0 - 0.55 * depth) + waver;
    const double inside = smoothstep(width, width - 0.04, std::abs(x));
    const double lit = inside * smoothstep(0.15, 0.35, bar) * smoothstep(0.95, 0.75, bar);
    const Rgb reflection = gradient({0xffb347, 0xff5e7e, 0xa4307a}, depth);
    sea = mix(sea, reflection, lit * (1.0 - 0.6 * depth));
    return sea;
}

// bkg5a: flowing plasma, folded sines whose contours cycle through navy, teal,
// mint, gold, coral and plum.
Rgb plasma(double x, double y)
{
    double u = x * 2.2, v = y * 2.2;
    for (int i = 0; i < 3; ++i) {
        const double nu = u + 0.55 * std::sin(1.3 * v + 0.7 * i + 0.4);
        const double nv = v + 0.55 * std::sin(1.1 * u - 0.9 * i + 1.9);
        u = nu;
        v = nv;
    }
    const double field = std::sin(u * 1.6) + std::sin(v * 1.9 + 1.2)
                         + std::sin((u + v) * 1.1 + 0.5) + std::sin(length({u, v}) * 2.4);
    const double t = fract(0.5 + field * 0.19);
    return gradient({0x14205e, 0x1f8fa6, 0x8fe3c0, 0xffd166, 0xef476f, 0x7a1f74, 0x14205e}, t);
}

// bkg_spiral: a twin-armed hypnotic spiral, dark between the arms, both arms
// leaving a white-hot core: one turns gold and rose, the other ice blue and indigo.
Rgb spiral(double x, double y)
{
    const double r = length({x, y});
    const double angle = std::atan2(y, x);
    const int arms = 2;
    const double turns = 1.9; // arm crossings from the centre to the edge
    const double along = arms * angle / (2.0 * pi) + turns * arms * std::pow(r, 0.85);
    const double s = fract(along);
    const int arm = int(std::floor(along)) & 1;
    // Distance from the middle of the arm, in [0, 0.5].
    const double off = std::abs(s - 0.5);
    const double armWidth = 0.33;
    const double edge = 0.012 / std::max(r, 0.05);
    const double inArm = smoothstep(armWidth + edge, armWidth - edge, off);
    const Rgb armColour = arm == 0 ? gradient({0xfff6e0, 0xffd166, 0xff8a5c, 0xff3d7f, 0xb8236b}, r / 1.3)
                                   : gradient({0xfff6e0, 0x9ef0ff, 0x4cc9f0, 0x4361ee, 0x3a0ca3}, r / 1.3);
    const Rgb between = gradient({0x2a0f4a, 0x140a30, 0x070418}, r / 1.3);
    // Arms are rounded: lighter along their spine.
    const Rgb armShaded = armColour * (0.72 + 0.28 * std::cos(off / armWidth * pi * 0.5));
    Rgb colour = mix(between, armShaded, inArm);
    colour = screen(colour, hex(0xfff0d8) * (0.9 * std::exp(-r * r / 0.006)));
    return colour;
}

// bkg_dude: a cheerful radio listener with headphones on a sunburst.
// The show stretches this square picture over a 16:9 screen and shows its middle
// at 1/1.42 of its size; the figure is drawn squeezed sideways by that stretch so
// that it looks round on the screen.
Rgb dude(double x, double y)
{
    constexpr double stretch = 16.0 / 9.0;
    const Vec2 p{x * stretch, y};
    const double aa = 0.006;
    const Rgb ink = hex(0x1d1635);
    const double line = 0.014;

    // Sunburst behind the head.
    const Vec2 centre{0.0, 0.14};
    const Vec2 q = p - centre;
    const double rq = length(q);
    const double rays = 18.0;
    const double wedge = std::cos(rays * std::atan2(q.y, q.x));
    const double rayMask = smoothstep(-0.08, 0.08, wedge * std::min(1.0, rq * 6.0));
    Rgb colour = mix(hex(0x3b2bb8), hex(0x5a49e0), rayMask);
    colour = screen(colour, hex(0x8fd8ff) * (0.65 * std::exp(-rq * rq / 0.35)));
    colour = colour * (1.0 - 0.45 * smoothstep(0.7, 1.6, length({p.x / stretch, p.y})));

    // Twinkling sparkles: four-pointed stars.
    const struct {
        double x, y, size;
    } sparkles[] = {{-0.98, 0.42, 0.09}, {0.92, 0.5, 0.07}, {-0.82, -0.38, 0.06},
                    {1.02, -0.22, 0.08}, {-0.55, 0.62, 0.05}};
    for (const auto& s : sparkles) {
        const Vec2 at{s.x, s.y};
        const double star = unite(sdEllipse(p, at, s.size * 0.22, s.size),
                                  sdEllipse(p, at, s.size, s.size * 0.22));
        colour = paint(colour, star, hex(0xfff3b0), aa);
    }

    // Radio waves beside the head.
    for (int side = -1; side <= 1; side += 2) {
        for (int k = 0; k < 3; ++k) {
            const double r = 0.47 + 0.11 * k;
            const double d = sdArc(p, centre + Vec2{0.0, -0.02}, r, 0.018, side > 0 ? 0.0 : pi, 0.45);
            colour = paint(colour, d, hex(0xffe066), aa);
        }
    }

    // Shoulders and hoodie.
    const double torso = sdRoundBox(p, {0.0, -0.78}, 0.58, 0.5, 0.3);
    colour = paint(colour, torso, hex(0xffb020), aa, line, ink);
    // Hood lying around the neck.
    const double hood = sdEllipse(p, {0.0, -0.3}, 0.3, 0.12);
    colour = paint(colour, hood, hex(0xf29111), aa, line, ink);
    // Neck.
    const double neck = sdRoundBox(p, {0.0, -0.22}, 0.09, 0.1, 0.04);
    colour = paint(colour, neck, hex(0xd98c5f), aa, line, ink);
    // Drawstrings.
    for (int side = -1; side <= 1; side += 2) {
        const double string = sdCapsule(p, {0.09 * side, -0.36}, {0.11 * side, -0.56}, 0.012);
        colour = paint(colour, string, hex(0xfff3d6), aa, 0.008, ink);
    }
    // A badge on the chest: a little radio mast sending waves.
    {
        const Vec2 badge{0.3, -0.55};
        colour = paint(colour, sdCircle(p, badge, 0.08), hex(0xff4d6d), aa, 0.01, ink);
        colour = paint(colour, sdCircle(p, badge + Vec2{0.0, -0.01}, 0.014), hex(0xffffff), aa);
        for (int k = 0; k < 2; ++k) {
            const double d = sdArc(p, badge + Vec2{0.0, -0.01}, 0.032 + 0.022 * k, 0.006, pi / 2, 0.7);
            colour = paint(colour, d, hex(0xffffff), aa);
        }
    }

    // Head.
    const Vec2 head{0.0, 0.12};
    const double face = sdEllipse(p, head, 0.27, 0.3);
    const Rgb skin = hex(0xf0a878);
    colour = paint(colour, face, skin, aa, line, ink);
    // A touch of shade on the lower face.
    colour = mix(colour, colour * hex(0xd88a66),
                 (face < 0.0 ? 1.0 : 0.0) * smoothstep(0.0, -0.25, p.y - head.y + 0.05) * 0.35);

    // Hair: a bold quiff over the brow.
    {
        double hair = sdEllipse(p, head + Vec2{0.0, 0.18}, 0.27, 0.16);
        hair = unite(hair, sdCircle(p, head + Vec2{0.1, 0.31}, 0.12));
        hair = unite(hair, sdCircle(p, head + Vec2{-0.06, 0.33}, 0.1));
        hair = unite(hair, sdCircle(p, head + Vec2{0.2, 0.26}, 0.08));
        hair = intersect(hair, -sdEllipse(p, head + Vec2{0.02, 0.02}, 0.24, 0.2));
        colour = paint(colour, hair, hex(0x3a2218), aa, line, ink);
        // Shine on the hair.
        const double shine = sdArc(p, head + Vec2{0.06, 0.2}, 0.12, 0.012, pi * 0.6, 0.35);
        colour = paint(colour, shine, hex(0x8a5a3c), aa);
    }

    // Cheeks.
    for (int side = -1; side <= 1; side += 2) {
        const double cheek = sdEllipse(p, head + Vec2{0.15 * side, -0.07}, 0.055, 0.035);
        colour = mix(colour, hex(0xff7a8a), 0.55 * smoothstep(0.03, -0.03, cheek));
    }

    // Eyes: big whites, dark pupils looking at the audience, bright catch-lights.
    for (int side = -1; side <= 1; side += 2) {
        const Vec2 eye = head + Vec2{0.1 * side, 0.04};
        colour = paint(colour, sdEllipse(p, eye, 0.058, 0.072), hex(0xffffff), aa, 0.011, ink);
        const Vec2 pupil = eye + Vec2{0.006 - 0.004 * side, -0.008};
        colour = paint(colour, sdCircle(p, pupil, 0.04), hex(0x2a1a3a), aa);
        colour = paint(colour, sdCircle(p, pupil + Vec2{0.013, 0.015}, 0.013), hex(0xffffff), aa);
        // Raised brows.
        const double brow = sdArc(p, eye + Vec2{0.0, 0.03}, 0.08, 0.012, pi / 2 + 0.1 * side, 0.5);
        colour = paint(colour, brow, ink, aa);
    }

    // Nose.
    colour = paint(colour, sdArc(p, head + Vec2{0.0, -0.02}, 0.03, 0.009, -pi / 2, 1.0), hex(0xb4684a), aa);

    // A wide open smile with a tongue.
    {
        const Vec2 mouth = head + Vec2{0.0, -0.1};
        const double open = intersect(sdEllipse(p, mouth, 0.12, 0.09), p.y - mouth.y);
        colour = paint(colour, open, hex(0x7a1030), aa, 0.011, ink);
        const double teeth = intersect(open + 0.006, -(p.y - (mouth.y - 0.025)));
        colour = paint(colour, teeth, hex(0xffffff), aa);
        const double tongue = intersect(sdEllipse(p, mouth + Vec2{0.02, -0.075}, 0.06, 0.04), open + 0.004);
        colour = paint(colour, tongue, hex(0xff6b81), aa);
    }

    // Headphones: a band over the head and two big cups over the ears.
    {
        const double band = sdArc(p, head + Vec2{0.0, 0.0}, 0.33, 0.028, pi / 2, 1.2);
        colour = paint(colour, band, hex(0x2ec4b6), aa, line, ink);
        for (int side = -1; side <= 1; side += 2) {
            const Vec2 cup = head + Vec2{0.29 * side, -0.02};
            colour = paint(colour, sdRoundBox(p, cup, 0.07, 0.12, 0.06), hex(0x23a396), aa, line, ink);
            colour = paint(colour, sdRoundBox(p, cup + Vec2{0.035 * side, 0.0}, 0.05, 0.095, 0.045),
                           hex(0xff4d6d), aa, 0.01, ink);
            const double gleam =
                sdCapsule(p, cup + Vec2{0.05 * side, 0.04}, cup + Vec2{0.05 * side, -0.03}, 0.01);
            colour = paint(colour, gleam, hex(0xffb3c1), aa);
        }
    }
    return colour;
}

struct Picture {
    const char* name;
    int size;
    int samples;
    Shader shade;
};

int usage()
{
    std::fprintf(stderr,
                 "usage: makepictures <folder>  (writes the seven background PNG pictures into <folder>)\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '\0' || argv[1][0] == '-')
        return usage();

    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "makepictures: cannot create folder %s\n", argv[1]);
        return 1;
    }

    const Picture pictures[] = {
        {"bkg1a.png", 128, 4, aurora},      {"bkg2a.png", 512, 2, stainedGlass},
        {"bkg3a.png", 256, 4, moire},       {"bkg4a.png", 128, 4, sunset},
        {"bkg5a.png", 256, 2, plasma},      {"bkg_spiral.png", 512, 3, spiral},
        {"bkg_dude.png", 512, 2, dude},
    };
    for (const Picture& picture : pictures) {
        const QString path = QDir(folder).filePath(QString::fromLatin1(picture.name));
        const QImage image = render(picture.size, picture.samples, picture.shade);
        // Quality 0 asks for the strongest compression; the pixels are lossless anyway.
        if (!image.save(path, "PNG", 0)) {
            std::fprintf(stderr, "makepictures: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
