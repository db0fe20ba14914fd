#!/usr/bin/env python3
"""Draws the weather widget's SVG sources: Images/**, Icon.svg and ../FlatTool/*.svg.

The SVGs are what the build renders and they can be edited by hand, but they share shapes
and colours, so changing the family is easier here: edit, run `python3 draw-svgs.py`, look
at the renders. Not used by the build.

Every weather picture is drawn in one 100 x 100 box and placed on each canvas by a
transform, so the big, docked and outlook pictures stay one family."""
import math, os, random

ASSETS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ROOT = os.path.join(ASSETS, 'weather')

def f(v):
    s = ('%.2f' % v).rstrip('0').rstrip('.')
    return '0' if s == '-0' else s

# ---------------------------------------------------------------- shapes

def cloud_path(cx, base, w):
    """A cloud of width ~w whose flat bottom sits on y=base, centred on cx."""
    k = w / 70.0
    circles = [(-27, -11, 11), (-7, -20, 19), (17, -15, 15)]
    c = [(cx + x * k + 3 * k, base + y * k, r * k) for x, y, r in circles]
    def top_meet(a, b):
        (x1, y1, r1), (x2, y2, r2) = a, b
        d = math.hypot(x2 - x1, y2 - y1)
        l = (r1 * r1 - r2 * r2 + d * d) / (2 * d)
        h = math.sqrt(r1 * r1 - l * l)
        mx, my = x1 + l * (x2 - x1) / d, y1 + l * (y2 - y1) / d
        p1 = (mx + h * (y2 - y1) / d, my - h * (x2 - x1) / d)
        p2 = (mx - h * (y2 - y1) / d, my + h * (x2 - x1) / d)
        return p1 if p1[1] < p2[1] else p2
    pts = [(c[0][0], base)]
    for i in range(len(c) - 1):
        pts.append(top_meet(c[i], c[i + 1]))
    pts.append((c[-1][0], base))
    d = 'M%s,%s' % (f(pts[0][0]), f(pts[0][1]))
    for i, (x, y, r) in enumerate(c):
        sx, sy = pts[i]; ex, ey = pts[i + 1]
        a0 = math.atan2(sy - y, sx - x); a1 = math.atan2(ey - y, ex - x)
        span = (a1 - a0) % (2 * math.pi)
        large = 1 if span > math.pi else 0
        d += ' A%s,%s 0 %d 1 %s,%s' % (f(r), f(r), large, f(ex), f(ey))
    d += 'Z'
    return d

CLOUDS = {
    # top, bottom, rim: white fair-weather cloud, grey rain cloud, dark storm cloud, back cloud.
    'white': ('#ffffff', '#d6e0eb', '#9fb3c8'),
    'rain':  ('#f1f4f8', '#b3bfcc', '#8494a6'),
    'storm': ('#aeb8c7', '#5f6b7e', '#3d4757'),
    'back':  ('#e3e9f1', '#a9b7c8', '#8193a8'),
}

class Art:
    def __init__(self, small=False):
        self.defs = {}
        self.small = small
        self.n = 0

    def grad(self, key, body):
        self.defs[key] = body
        return 'url(#%s)' % key

    def shadow(self):
        self.defs['shade'] = ('<filter id="shade" x="-30%%" y="-30%%" width="160%%" height="180%%">'
                              '<feGaussianBlur stdDeviation="%s"/></filter>' % ('1.6' if self.small else '2.2'))
        return 'url(#shade)'

    def cloud(self, cx, base, w, kind='white'):
        top, bottom, rim = CLOUDS[kind]
        d = cloud_path(cx, base, w)
        g = self.grad('cloud-' + kind,
            '<linearGradient id="cloud-%s" x1="0" y1="0" x2="0.25" y2="1">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
            % (kind, top, bottom))
        sw = 1.6 if self.small else 1.0
        return ('<path d="%s" transform="translate(0 3)" fill="#061a38" fill-opacity="0.30" filter="%s"/>\n'
                '  <path d="%s" fill="%s" stroke="%s" stroke-opacity="0.55" stroke-width="%s"/>'
                % (d, self.shadow(), d, g, rim, f(sw)))

    def sun(self, cx, cy, r, rays=True):
        glow = self.grad('sun-glow',
            '<radialGradient id="sun-glow"><stop offset="0.45" stop-color="#ffd54d" stop-opacity="0.55"/>'
            '<stop offset="1" stop-color="#ffd54d" stop-opacity="0"/></radialGradient>')
        disc = self.grad('sun-disc',
            '<radialGradient id="sun-disc" cx="0.4" cy="0.35" r="0.7">'
            '<stop offset="0" stop-color="#fff6bf"/><stop offset="0.45" stop-color="#ffd640"/>'
            '<stop offset="1" stop-color="#ff9a1f"/></radialGradient>')
        ray = self.grad('sun-ray',
            '<linearGradient id="sun-ray" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#ffe066"/><stop offset="1" stop-color="#ffab2e"/></linearGradient>')
        out = ['<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (f(cx), f(cy), f(r * 1.9), glow)]
        if rays:
            w = r * (0.30 if self.small else 0.24)
            parts = []
            for i in range(8):
                a = math.radians(i * 45)
                x1, y1 = cx + math.cos(a) * r * 1.32, cy + math.sin(a) * r * 1.32
                x2, y2 = cx + math.cos(a) * r * 1.68, cy + math.sin(a) * r * 1.68
                parts.append('M%s,%s L%s,%s' % (f(x1), f(y1), f(x2), f(y2)))
            out.append('<path d="%s" stroke="%s" stroke-width="%s" stroke-linecap="round"/>'
                       % (' '.join(parts), ray, f(w)))
        out.append('<circle cx="%s" cy="%s" r="%s" fill="%s" stroke="#f08a12" stroke-opacity="0.6" stroke-width="%s"/>'
                   % (f(cx), f(cy), f(r), disc, '1.4' if self.small else '0.8'))
        return '\n  '.join(out)

    def drops(self, pts, size=1.0):
        g = self.grad('drop',
            '<linearGradient id="drop" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#c4efff"/><stop offset="1" stop-color="#2f9af0"/></linearGradient>')
        s = size * (1.85 if self.small else 1.45)
        d = 'M0,-9 C1.8,-5.6 4.4,-2.8 4.4,0.6 A4.4,4.4 0 0 1 -4.4,0.6 C-4.4,-2.8 -1.8,-5.6 0,-9Z'
        out = []
        for x, y in pts:
            out.append('<path d="%s" transform="translate(%s %s) rotate(18) scale(%s)" fill="%s" '
                       'stroke="#1769c2" stroke-opacity="0.55" stroke-width="%s"/>'
                       % (d, f(x), f(y), f(s), g, '1.1' if self.small else '0.7'))
        return '\n  '.join(out)

    def streaks(self, pts, length=14):
        """Heavy rain: slanted bars."""
        g = self.grad('streak',
            '<linearGradient id="streak" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#b5e8ff"/><stop offset="1" stop-color="#3aa0f2"/></linearGradient>')
        out = []
        w = 4.6 if self.small else 3.6
        for x, y in pts:
            dx = length * math.sin(math.radians(18)); dy = length * math.cos(math.radians(18))
            out.append('<path d="M%s,%s L%s,%s" stroke="#1769c2" stroke-opacity="0.5" stroke-width="%s" stroke-linecap="round"/>'
                       % (f(x + dx / 2), f(y - dy / 2), f(x - dx / 2), f(y + dy / 2), f(w + 1.4)))
            out.append('<path d="M%s,%s L%s,%s" stroke="%s" stroke-width="%s" stroke-linecap="round"/>'
                       % (f(x + dx / 2), f(y - dy / 2), f(x - dx / 2), f(y + dy / 2), g, f(w)))
        return '\n  '.join(out)

    def flakes(self, pts, r=6.0):
        out = []
        r = r * (1.75 if self.small else 1.5)
        for x, y in pts:
            d = []
            for i in range(6):
                a = math.radians(90 + i * 60)
                ex, ey = x + math.cos(a) * r, y + math.sin(a) * r
                d.append('M%s,%s L%s,%s' % (f(x), f(y), f(ex), f(ey)))
                if not self.small:
                    bx, by = x + math.cos(a) * r * 0.58, y + math.sin(a) * r * 0.58
                    for s in (-1, 1):
                        b = a + s * math.radians(50)
                        d.append('M%s,%s L%s,%s' % (f(bx), f(by), f(bx + math.cos(b) * r * 0.36), f(by + math.sin(b) * r * 0.36)))
            d = ' '.join(d)
            w = r * (0.42 if self.small else 0.26)
            out.append('<path d="%s" stroke="#2a5f99" stroke-opacity="0.55" stroke-width="%s" stroke-linecap="round"/>' % (d, f(w + 1.6)))
            out.append('<path d="%s" stroke="#ffffff" stroke-width="%s" stroke-linecap="round"/>' % (d, f(w)))
        return '\n  '.join(out)

    def ice(self, pts, r=3.6):
        g = self.grad('ice',
            '<radialGradient id="ice" cx="0.35" cy="0.3" r="0.75">'
            '<stop offset="0" stop-color="#ffffff"/><stop offset="0.6" stop-color="#dff2ff"/>'
            '<stop offset="1" stop-color="#8cc3ea"/></radialGradient>')
        r = r * (1.7 if self.small else 1.4)
        return '\n  '.join('<circle cx="%s" cy="%s" r="%s" fill="%s" stroke="#3f7db5" stroke-opacity="0.7" stroke-width="%s"/>'
                           % (f(x), f(y), f(r), g, '1.2' if self.small else '0.8') for x, y in pts)

    def bolt(self, x, y, s=1.0):
        g = self.grad('bolt',
            '<linearGradient id="bolt" x1="0" y1="0" x2="0.3" y2="1">'
            '<stop offset="0" stop-color="#fff27a"/><stop offset="1" stop-color="#ffa41c"/></linearGradient>')
        d = 'M4,0 L-7,17 L0,17 L-5,32 L12,11 L4.5,11 L11,0Z'
        return ('<path d="%s" transform="translate(%s %s) scale(%s)" fill="%s" stroke="#b85f00" stroke-opacity="0.8" '
                'stroke-width="%s" stroke-linejoin="round"/>' % (d, f(x), f(y), f(s), g, f((1.5 if self.small else 0.9) / s)))

    def bars(self, rows, color='#ffffff', rim='#3f6d99'):
        """Fog or haze bands: (x, y, length, opacity)."""
        h = 6.5 if self.small else 5.0
        out = []
        for x, y, l, o in rows:
            out.append('<rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="%s" fill-opacity="%s" '
                       'stroke="%s" stroke-opacity="%s" stroke-width="%s"/>'
                       % (f(x), f(y - h / 2), f(l), f(h), f(h / 2), color, f(o), rim, f(o * 0.5), '1.2' if self.small else '0.8'))
        return '\n  '.join(out)

    def gusts(self, paths, color1='#ffffff', color2='#d7e6f5', rim='#2d5b8a', key='gust'):
        g = self.grad(key,
            '<linearGradient id="%s" gradientUnits="userSpaceOnUse" x1="10" y1="0" x2="90" y2="0">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>' % (key, color1, color2))
        w = 5.6 if self.small else 4.6
        out = []
        for d in paths:
            out.append('<path d="%s" fill="none" stroke="%s" stroke-opacity="0.45" stroke-width="%s" stroke-linecap="round"/>' % (d, rim, f(w + 1.8)))
        for d in paths:
            out.append('<path d="%s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round"/>' % (d, g, f(w)))
        return '\n  '.join(out)

    def dots(self, pts, color, r=1.6):
        r = r * (1.4 if self.small else 1.0)
        return '\n  '.join('<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (f(x), f(y), f(r), color) for x, y in pts)

# ---------------------------------------------------------------- pictures (100 x 100 box)

RAIN_CLOUD = (48, 55, 80)     # cx, base, width of the cloud above precipitation

def rain_cloud(a):
    """The cloud above precipitation; smaller on the outlook icons to leave the drops room."""
    return (50, 54, 72) if a.small else RAIN_CLOUD

def rows(a, big, small):
    """Two staggered rows on the big pictures, one bolder row on the 34 px outlook icons."""
    if a.small:
        return small
    if isinstance(big, list):
        # Keeps the lower row clear of the outlook panel on the floating face.
        return [(x, y - 5) for x, y in big]
    return big

def p_sun(a):
    return a.sun(50, 50, 21)

def p_partly(a):
    return a.sun(62, 38, 18) + '\n  ' + a.cloud(44, 80, 74, 'white')

def p_cloudy(a):
    return a.cloud(60, 60, 66, 'back') + '\n  ' + a.cloud(42, 82, 78, 'white')

def p_few_showers(a):
    return (a.sun(64, 30, 16) + '\n  ' + a.cloud(44, 62, 74, 'white') + '\n  ' +
            a.drops(rows(a, [(32, 80), (54, 86)], [(36, 78), (60, 80)])))

def p_rainy(a):
    return a.cloud(*rain_cloud(a), kind='rain') + '\n  ' + a.drops(rows(a,
        [(28, 78), (48, 82), (68, 78), (38, 96), (58, 98)], [(28, 77), (50, 81), (72, 77)]))

def p_light_rain(a):
    return a.cloud(*rain_cloud(a), kind='rain') + '\n  ' + a.drops(rows(a, [(38, 80), (60, 86)], [(38, 78), (62, 80)]), 0.85)

def p_shower(a):
    return (a.sun(*rows(a, (66, 30, 15), (68, 34, 14))) + '\n  ' + a.cloud(*rain_cloud(a), kind='rain') + '\n  ' +
            a.drops(rows(a, [(30, 80), (50, 86), (70, 80)], [(30, 77), (52, 81), (74, 77)])))

def p_heavy_rain(a):
    return a.cloud(*rain_cloud(a), kind='storm') + '\n  ' + a.drops(rows(a,
        [(22, 77), (40, 81), (58, 77), (76, 81), (31, 96), (49, 99), (67, 96)],
        [(22, 76), (40, 82), (58, 76), (76, 82)]), 0.9)

def p_rainstorm(a):
    return a.cloud(*rain_cloud(a), kind='storm') + '\n  ' + a.streaks(rows(a,
        [(24, 79), (40, 85), (56, 79), (72, 85), (32, 96), (48, 99), (64, 96)],
        [(26, 79), (44, 82), (62, 79), (80, 82)]), rows(a, 15, 22))

def p_thunder(a):
    return (a.cloud(*rain_cloud(a), kind='storm') + '\n  ' +
            a.drops(rows(a, [(24, 80), (74, 80), (68, 96)], [(24, 78), (78, 78)]), 0.9) + '\n  ' +
            a.bolt(*rows(a, (46, 53, 1.25), (48, 50, 1.45))))

def p_snow(a):
    return a.cloud(*rain_cloud(a), kind='white') + '\n  ' + a.flakes(rows(a,
        [(27, 78), (50, 82), (73, 78), (38, 99), (62, 99)], [(28, 76), (52, 82), (76, 76)]), 5.4)

def p_heavy_snow(a):
    return a.cloud(*rain_cloud(a), kind='rain') + '\n  ' + a.flakes(rows(a,
        [(24, 77), (46, 81), (68, 77), (35, 98), (57, 99), (79, 96)], [(22, 75), (50, 83), (78, 75)]), 6)

def p_sleet(a):
    return (a.cloud(*rain_cloud(a), kind='rain') + '\n  ' + a.drops(rows(a, [(30, 80), (62, 96)], [(32, 78)])) + '\n  ' +
            a.flakes(rows(a, [(62, 77), (36, 96)], [(66, 78)]), 6))

def p_freezing_rain(a):
    return (a.cloud(*rain_cloud(a), kind='rain') + '\n  ' +
            a.drops(rows(a, [(28, 80), (58, 80), (43, 98), (73, 98)], [(28, 78), (62, 80)])) + '\n  ' +
            a.ice(rows(a, [(44, 76), (74, 76), (28, 95), (58, 94)], [(45, 76), (80, 76)]), 3.0))

def p_hail(a):
    return a.cloud(*rain_cloud(a), kind='rain') + '\n  ' + a.ice(rows(a,
        [(28, 76), (50, 80), (72, 76), (39, 94), (61, 94)], [(28, 74), (50, 80), (72, 74)]), 4.2)

def p_fog(a):
    return (a.cloud(50, 58, 70, 'white').replace('<path d=', '<path opacity="0.9" d=', 1) + '\n  ' +
            a.bars([(18, 68, 64, 0.95), (26, 78, 58, 0.8), (14, 88, 52, 0.65), (72, 88, 14, 0.65)]))

WIND = ['M12,40 H56 C66,40 72,33 68,26 C64,20 54,22 55,30',
        'M20,54 H74 C84,54 90,62 86,69 C82,75 72,73 73,66',
        'M12,68 H46']

def p_windy(a):
    return a.gusts(WIND)

def p_dust(a):
    disc = a.grad('haze-disc',
        '<radialGradient id="haze-disc" cx="0.4" cy="0.35" r="0.7"><stop offset="0" stop-color="#ffe2a8"/>'
        '<stop offset="1" stop-color="#e59a45"/></radialGradient>')
    return ('<circle cx="56" cy="40" r="20" fill="%s" fill-opacity="0.85" stroke="#b8732a" stroke-opacity="0.6" stroke-width="%s"/>\n  '
            % (disc, '1.4' if a.small else '0.8') +
            a.bars([(14, 50, 60, 0.92), (30, 62, 60, 0.85), (20, 74, 56, 0.75)], '#f2dcb0', '#8a6232') + '\n  ' +
            a.dots([(80, 50), (86, 62), (14, 62), (80, 74), (24, 86), (46, 88), (66, 86)], '#e8c68c', 1.8))

def p_sandstorm(a):
    return (a.gusts(WIND, '#f7e2b6', '#d9a85e', '#7a5226', 'sand') + '\n  ' +
            a.dots([(64, 40), (82, 46), (30, 62), (88, 78), (60, 80), (38, 82), (74, 90)], '#d9a85e', 2.0))

BIG = {
    'thunderstorm': p_thunder, 'snow': p_snow, 'hail': p_hail, 'Rainy': p_rainy, 'foggy': p_fog,
    'windy': p_windy, 'cloudy': p_cloudy, 'partly-cloudy': p_partly, 'few-showers': p_few_showers, 'sun': p_sun,
}
SMALL = {
    1: (p_thunder, 'thundershower'), 9: (p_shower, 'shower'), 10: (p_heavy_rain, 'moderate to heavy rain'),
    13: (p_sleet, 'sleet, snow showers'), 16: (p_heavy_snow, 'heavy snow'), 17: (p_fog, 'fog'),
    18: (p_freezing_rain, 'freezing rain'), 19: (p_dust, 'dust, haze'), 23: (p_sandstorm, 'sand or dust storm'),
    26: (p_cloudy, 'cloudy, overcast'), 31: (p_sun, 'sunny, clear'), 39: (p_light_rain, 'light rain'),
    40: (p_rainstorm, 'rainstorm'),
}

def svg(w, h, comment, art, body, transform):
    defs = '\n    '.join(art.defs[k] for k in sorted(art.defs))
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">\n'
            '  <!-- %s -->\n  <defs>\n    %s\n  </defs>\n  <g transform="%s">\n  %s\n  </g>\n</svg>\n'
            % (w, h, w, h, comment, defs, transform, body))

def write(rel, text):
    p = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(p), exist_ok=True)
    open(p, 'w').write(text)

def weather_pictures():
    for name, fn in BIG.items():
        a = Art(); body = fn(a)
        write('Images/icons/undocked_%s.svg' % name, svg(264, 194,
              '%s, floating face: the picture sits left (x 14..114, y 4..104); the texts take the right.' % name,
              a, body, 'translate(14 4)'))
        a = Art(); body = fn(a)
        write('Images/icons/docked_%s.svg' % name, svg(130, 67,
              '%s, docked face: the same picture at 58 px, left of the right-aligned texts.' % name,
              a, body, 'translate(2 4) scale(0.58)'))
    for code, (fn, what) in SMALL.items():
        a = Art(small=True); body = fn(a)
        write('Images/small/%d.svg' % code, svg(42, 34,
              'Outlook icon for code %d (%s). Thicker rims and simpler details than the big pictures: it is 34 px tall.' % (code, what),
              a, body, 'translate(3 -1) scale(0.36)'))


def icon():
    a = Art(); body = p_partly(a)
    text = svg(72, 72, 'The weather widget in the gallery: the sun half behind a cloud, with a clear margin all round.',
               a, body, 'translate(-1 4) scale(0.66)')
    open(os.path.join(ROOT, 'Icon.svg'), 'w').write(text)


# ---------------------------------------------------------------- window art

def write_asset(rel, text):
    p = os.path.join(ASSETS, rel)
    os.makedirs(os.path.dirname(p), exist_ok=True)
    open(p, 'w').write(text)

SKINS = {
    # top, middle, bottom of the body; glow colour near the picture; rim colour.
    'Blue':  ('#4a9be6', '#2a6fc4', '#1d519b', '#bfe4ff', '#0b2a57', 'Fair or cloudy weather: fresh sky-blue glass'),
    'GRAY':  ('#7f8c9b', '#5b6775', '#434c58', '#e6edf5', '#1b2129', 'Dust, sand and wind: cool grey glass'),
    'Black': ('#223257', '#121c36', '#080d1c', '#6f8cc9', '#000000', 'Night: deep navy glass with a few faint stars'),
}

def stars(w, h, seed, n, avoid):
    rnd = random.Random(seed)
    out = []
    while len(out) < n:
        x, y = rnd.uniform(6, w - 6), rnd.uniform(5, h * 0.9)
        if any(ax0 <= x <= ax1 and ay0 <= y <= ay1 for ax0, ay0, ax1, ay1 in avoid):
            continue
        r = rnd.choice([0.45, 0.55, 0.7, 0.9])
        o = rnd.choice([0.25, 0.35, 0.45, 0.6])
        out.append('<circle cx="%.1f" cy="%.1f" r="%.2f" fill="#dfe9ff" fill-opacity="%.2f"/>' % (x, y, r, o))
    return '\n  '.join(out)

def base(skin, w, h, rx, docked):
    top, mid, bot, glow, rim, what = SKINS[skin]
    face = 'docked in the sidebar, %dx%d' % (w, h) if docked else 'floating, %dx%d' % (w, h)
    # Light falls from the upper left, behind the weather picture; the right, where the
    # texts are, stays the darker, even body colour.
    gx, gy, gr = (0.2, 0.25, 0.7) if not docked else (0.18, 0.3, 0.75)
    extra = ''
    if skin == 'Black':
        if docked:
            extra = stars(w, h, 7, 9, [(60, 4, 124, 60)])
        else:
            extra = stars(w, h, 3, 26, [(96, 12, 254, 108), (12, 104, 250, 180)])
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" viewBox="0 0 {w} {h}">
  <!-- {what}; weather window {face}. The body is kept dark enough for the
       white texts everywhere; the only bright parts are the rims and a soft glow at the picture. -->
  <defs>
    <linearGradient id="body" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{top}" stop-opacity="0.94"/>
      <stop offset="0.55" stop-color="{mid}" stop-opacity="0.94"/>
      <stop offset="1" stop-color="{bot}" stop-opacity="0.95"/>
    </linearGradient>
    <radialGradient id="glow" cx="{gx}" cy="{gy}" r="{gr}">
      <stop offset="0" stop-color="{glow}" stop-opacity="0.30"/>
      <stop offset="1" stop-color="{glow}" stop-opacity="0"/>
    </radialGradient>
    <linearGradient id="sheen" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0.16"/>
      <stop offset="0.75" stop-color="#ffffff" stop-opacity="0"/>
    </linearGradient>
    <linearGradient id="edge" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0.55"/>
      <stop offset="0.5" stop-color="#ffffff" stop-opacity="0.22"/>
      <stop offset="1" stop-color="#ffffff" stop-opacity="0.14"/>
    </linearGradient>
  </defs>
  <rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="{rx}" fill="url(#body)" stroke="{rim}" stroke-opacity="0.55"/>
  <rect x="1" y="1" width="{w - 2}" height="{h - 2}" rx="{rx - 0.5}" fill="url(#glow)"/>
  <path d="M1,{rx + 1} A{rx - 0.5},{rx - 0.5} 0 0 1 {rx + 1},1 H{w - rx - 1} A{rx - 0.5},{rx - 0.5} 0 0 1 {w - 1},{rx + 1} V{h * 0.42:.1f} Q{w / 2},{h * 0.34:.1f} 1,{h * 0.46:.1f}Z" fill="url(#sheen)"/>
  {extra}
  <!-- Glass edge: a light line just inside the dark rim, brightest along the top. -->
  <rect x="1.5" y="1.5" width="{w - 3}" height="{h - 3}" rx="{rx - 1}" fill="none" stroke="url(#edge)"/>
</svg>
'''


# Grid: drawn at (-1, 67) over the floating face, so window (x, y) is (x + 1, y - 67) here.
# Only the top 125 px fall inside the window.
GRID = '''<svg xmlns="http://www.w3.org/2000/svg" width="264" height="194" viewBox="0 0 264 194">
  <!-- The three-day outlook's panel. Drawn at (-1, 67) on the floating face: window (x, y) is
       (x + 1, y - 67) here, and only the top 125 px fall inside the window.
       The panel darkens the glass a little under the outlook's white texts; the hairlines
       fade out at their ends so they never meet the panel's rim. -->
  <defs>
    <linearGradient id="panel" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#000814" stop-opacity="0.20"/>
      <stop offset="1" stop-color="#000814" stop-opacity="0.12"/>
    </linearGradient>
    <linearGradient id="rim" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0.30"/>
      <stop offset="1" stop-color="#ffffff" stop-opacity="0.08"/>
    </linearGradient>
    <linearGradient id="colDark" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#000814" stop-opacity="0"/>
      <stop offset="0.5" stop-color="#000814" stop-opacity="0.35"/>
      <stop offset="1" stop-color="#000814" stop-opacity="0"/>
    </linearGradient>
    <linearGradient id="colLight" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0"/>
      <stop offset="0.5" stop-color="#ffffff" stop-opacity="0.30"/>
      <stop offset="1" stop-color="#ffffff" stop-opacity="0"/>
    </linearGradient>
    <linearGradient id="rowLight" x1="0" y1="0" x2="1" y2="0">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0"/>
      <stop offset="0.15" stop-color="#ffffff" stop-opacity="0.14"/>
      <stop offset="0.85" stop-color="#ffffff" stop-opacity="0.14"/>
      <stop offset="1" stop-color="#ffffff" stop-opacity="0"/>
    </linearGradient>
  </defs>
  <!-- Panel: window x 11..248, y 106..160. -->
  <rect x="12.5" y="39.5" width="236" height="53" rx="6" fill="url(#panel)" stroke="url(#rim)"/>
  <!-- Under the dates (window y 124). -->
  <rect x="16" y="57" width="229" height="1" fill="url(#rowLight)"/>
  <!-- Between the columns (window x 88 and 168). -->
  <rect x="88.5" y="43" width="1" height="46" fill="url(#colDark)"/>
  <rect x="89.5" y="43" width="1" height="46" fill="url(#colLight)"/>
  <rect x="168.5" y="43" width="1" height="46" fill="url(#colDark)"/>
  <rect x="169.5" y="43" width="1" height="46" fill="url(#colLight)"/>
</svg>
'''

# Line: the glass cover over both faces. Stretched to 231x161 and to 123x60, so it is only
# soft gradients and a rim 1.5 px in from the edge (GDI+ blurs the outermost pixel).
LINE = '''<svg xmlns="http://www.w3.org/2000/svg" width="231" height="161" viewBox="0 0 231 161">
  <!-- Glass cover, drawn last on both faces: at (13, 13) 231x161 floating and at (3, 3) 123x60
       docked. Only soft gradients and a rim kept off the outermost pixel, which GDI+ blurs
       when it stretches, so both sizes come out clean. The rim is a highlight along the top
       that dies out down the sides: the texts run past its right edge on the floating face. -->
  <defs>
    <linearGradient id="rim" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0.38"/>
      <stop offset="0.07" stop-color="#ffffff" stop-opacity="0.14"/>
      <stop offset="0.22" stop-color="#ffffff" stop-opacity="0"/>
    </linearGradient>
    <linearGradient id="gloss" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0.09"/>
      <stop offset="1" stop-color="#ffffff" stop-opacity="0"/>
    </linearGradient>
  </defs>
  <path d="M2,8 A6,6 0 0 1 8,2 H223 A6,6 0 0 1 229,8 V52 Q115.5,36 2,60Z" fill="url(#gloss)"/>
  <rect x="2" y="2" width="227" height="157" rx="6" fill="none" stroke="url(#rim)" stroke-width="1.4"/>
</svg>
'''

def refresh(hover):
    if hover:
        disc = '''<g filter="url(#halo)" stroke="#9fe0ff" stroke-width="4" stroke-linecap="round" fill="none">
    <path d="M2.9,5.3 A3.8,3.8 0 0 1 9.6,4.1"/><path d="M10.1,7.7 A3.8,3.8 0 0 1 3.4,8.9"/>
  </g>
  '''
        glyph, rim = '#ffffff', '#1f86e8'
        note = 'hovered: the same arrows, pure white with a blue rim in a soft blue halo'
    else:
        disc = ''
        glyph, rim = 'url(#glyph)', '#0b1a2e'
        note = 'light arrows with a dark rim so they read on every skin'
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="13" height="13" viewBox="0 0 13 13">
  <!-- Refresh, {note}. -->
  <defs>
    <filter id="halo" x="-40%" y="-40%" width="180%" height="180%">
      <feGaussianBlur stdDeviation="1"/>
    </filter>
    <linearGradient id="glyph" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0.95"/>
      <stop offset="1" stop-color="#d9e4ef" stop-opacity="0.95"/>
    </linearGradient>
  </defs>
  {disc}<g id="arrows">
    <!-- Two arcs chasing each other clockwise, each ending in a head. -->
    <path d="M2.9,5.3 A3.8,3.8 0 0 1 9.6,4.1" fill="none" stroke="{rim}" stroke-opacity="0.7" stroke-width="2.8" stroke-linecap="round"/>
    <path d="M10.1,7.7 A3.8,3.8 0 0 1 3.4,8.9" fill="none" stroke="{rim}" stroke-opacity="0.7" stroke-width="2.8" stroke-linecap="round"/>
    <path d="M8.2,1.9 L11.2,2.4 L10.5,5.5Z M4.8,11.1 L1.8,10.6 L2.5,7.5Z" fill="{rim}" fill-opacity="0.7" stroke="{rim}" stroke-opacity="0.7" stroke-width="1.2" stroke-linejoin="round"/>
    <path d="M2.9,5.3 A3.8,3.8 0 0 1 9.6,4.1" fill="none" stroke="{glyph}" stroke-width="1.5" stroke-linecap="round"/>
    <path d="M10.1,7.7 A3.8,3.8 0 0 1 3.4,8.9" fill="none" stroke="{glyph}" stroke-width="1.5" stroke-linecap="round"/>
    <path d="M8.2,1.9 L11.2,2.4 L10.5,5.5Z M4.8,11.1 L1.8,10.6 L2.5,7.5Z" fill="{glyph}"/>
  </g>
</svg>
'''

def gear_path(cx, cy, ro, ri, teeth=8):
    pts = []
    for i in range(teeth * 4):
        a = math.radians(i * 360 / (teeth * 4) - 90 + 360 / teeth / 8)
        r = ro if (i % 4) in (0, 1) else ri
        pts.append('%.2f,%.2f' % (cx + math.cos(a) * r, cy + math.sin(a) * r))
    return 'M' + ' L'.join(pts) + 'Z'

STRIP = '''<svg xmlns="http://www.w3.org/2000/svg" width="21" height="57" viewBox="0 0 21 57">
  <!-- Smoked glass strip at the top-right corner of every widget window, behind the close
       (at 6, 2) and settings (at 5, 19) buttons; centred on x 11. It fades towards its foot
       so it reads as a tab hanging from the corner rather than a bar across the widget. -->
  <defs>
    <linearGradient id="body" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#2a333f" stop-opacity="0.72"/>
      <stop offset="0.6" stop-color="#161c25" stop-opacity="0.62"/>
      <stop offset="1" stop-color="#161c25" stop-opacity="0.18"/>
    </linearGradient>
    <linearGradient id="rim" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0.30"/>
      <stop offset="0.6" stop-color="#ffffff" stop-opacity="0.12"/>
      <stop offset="1" stop-color="#ffffff" stop-opacity="0"/>
    </linearGradient>
    <linearGradient id="outer" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#05080c" stop-opacity="0.5"/>
      <stop offset="1" stop-color="#05080c" stop-opacity="0"/>
    </linearGradient>
    <linearGradient id="sep" x1="0" y1="0" x2="1" y2="0">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0"/>
      <stop offset="0.5" stop-color="#ffffff" stop-opacity="0.28"/>
      <stop offset="1" stop-color="#ffffff" stop-opacity="0"/>
    </linearGradient>
  </defs>
  <rect x="1.5" y="0.5" width="19" height="56" rx="6" fill="url(#body)" stroke="url(#outer)"/>
  <rect x="2.5" y="1.5" width="17" height="54" rx="5" fill="none" stroke="url(#rim)"/>
  <rect x="5" y="18" width="12" height="1" fill="url(#sep)"/>
</svg>
'''

def close(hover):
    arms = 'M2.6,5.1 L7.4,9.9 M7.4,5.1 L2.6,9.9'
    if hover:
        # White on red: the cross loses its dark rim, the disc gives the edge instead.
        body = (f'<circle cx="5" cy="7.5" r="4.9" fill="url(#red)" stroke="#5a0d08" stroke-opacity="0.6" stroke-width="0.6"/>\n'
                f'  <path d="{arms}" stroke="#ffffff" stroke-width="1.5" stroke-linecap="round"/>')
        note = 'hovered: white on a red disc'
    else:
        body = (f'<path d="{arms}" stroke="#05080c" stroke-opacity="0.6" stroke-width="3" stroke-linecap="round"/>\n'
                f'  <path d="{arms}" stroke="#e9eef4" stroke-width="1.5" stroke-linecap="round"/>')
        note = 'a light cross with a dark rim'
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="11" height="15" viewBox="0 0 11 15">
  <!-- Close the widget, {note}; centred on x 5 so it sits on the strip's centre line. -->
  <defs>
    <radialGradient id="red" cx="0.5" cy="0.3" r="0.7">
      <stop offset="0" stop-color="#ff8f80"/>
      <stop offset="1" stop-color="#d3332a"/>
    </radialGradient>
  </defs>
  {body}
</svg>
'''

def settings(hover):
    g = gear_path(5.5, 6.5, 4.6, 3.3)
    if hover:
        back = '<circle cx="5.5" cy="6.5" r="5.5" fill="url(#glow)"/>\n  '
        fill, note = '#ffffff', 'hovered: white, in a soft blue halo that leaves the teeth readable'
    else:
        back, fill, note = '', '#dfe6ee', 'a light gear with a dark rim'
    return f'''<svg xmlns="http://www.w3.org/2000/svg" width="11" height="13" viewBox="0 0 11 13">
  <!-- Widget settings, {note}. -->
  <defs>
    <radialGradient id="glow">
      <stop offset="0.5" stop-color="#6cc0ff" stop-opacity="0.9"/>
      <stop offset="1" stop-color="#6cc0ff" stop-opacity="0"/>
    </radialGradient>
    <mask id="hole"><rect width="11" height="13" fill="#ffffff"/><circle cx="5.5" cy="6.5" r="1.5" fill="#000000"/></mask>
  </defs>
  {back}<path d="{g}" fill="none" stroke="#05080c" stroke-opacity="0.6" stroke-width="1.6" stroke-linejoin="round"/>
  <path d="{g}" fill="{fill}" mask="url(#hole)"/>
  <circle cx="5.5" cy="6.5" r="1.5" fill="none" stroke="#05080c" stroke-opacity="0.45" stroke-width="0.6"/>
</svg>
'''


def window_art():
    for skin in SKINS:
        write_asset('weather/Images/%s-base.svg' % skin, base(skin, 278, 192, 8, False))
        write_asset('weather/Images/%sDOCKED-base.svg' % skin, base(skin, 146, 65, 6, True))
    write_asset('weather/Images/Grid.svg', GRID)
    write_asset('weather/Images/Line.svg', LINE)
    write_asset('weather/Images/btnChange1.svg', refresh(False))
    write_asset('weather/Images/btnChange2.svg', refresh(True))
    write_asset('FlatTool/bg1.svg', STRIP)
    write_asset('FlatTool/btClose1.svg', close(False))
    write_asset('FlatTool/btClose1_Over.svg', close(True))
    write_asset('FlatTool/btSet1.svg', settings(False))
    write_asset('FlatTool/btSet1_Over.svg', settings(True))


if __name__ == '__main__':
    weather_pictures()
    icon()
    window_art()
