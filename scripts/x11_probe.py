"""Small X11 probes for the saver's end-to-end tests and its benchmark, through libX11 itself.

  x11_probe.py window WxH       make a plain window and print its id; the
                                window ends with this process (kill it)
  x11_probe.py covered [ID]     the window (default: the screen) shows the
                                scene to every edge; prints what it saw
  x11_probe.py cover-time SECONDS COMMAND...
                                run COMMAND, then poll the screen until it is
                                covered; prints the milliseconds from the start
  x11_probe.py changes [ID]     two looks 100 ms apart differ
  x11_probe.py facets ID|FILE.png
                                colour edges met per column going down the
                                left and right sixths (outside the crystal):
                                about 60 for the preview's 50-row mesh at
                                565x317, about 105 for the full 80 rows
"""
import ctypes
import signal
import subprocess
import sys
import time

P, XID, INT, UINT = ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint
xlib = ctypes.CDLL("libX11.so.6")
for name, result, arguments in (
        ("XOpenDisplay", P, [ctypes.c_char_p]), ("XDefaultRootWindow", XID, [P]),
        ("XCreateSimpleWindow", XID, [P, XID, INT, INT, UINT, UINT, UINT, XID, XID]),
        ("XMapWindow", INT, [P, XID]), ("XSync", INT, [P, INT]), ("XFree", INT, [P]),
        ("XGetImage", P, [P, XID, INT, INT, UINT, UINT, XID, INT]),
        ("XGetGeometry", INT, [P, XID] + [P] * 7)):
    getattr(xlib, name).restype, getattr(xlib, name).argtypes = result, arguments


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


display = xlib.XOpenDisplay(None)
if not display:
    sys.exit("x11_probe: cannot open the display")

ZPixmap = 2
AllPlanes = 0xFFFFFFFF
DARK = 24  # a channel sum below this counts as black: the mesh is never that dark


def window_arg(args):
    return int(args[0], 0) if args else xlib.XDefaultRootWindow(display)


def grab(window):
    """The window's pixels as (width, height, bytes BGRX)."""
    root, geometry = XID(), [UINT() for _ in range(6)]  # x, y, width, height, border, depth
    if not xlib.XGetGeometry(display, window, ctypes.byref(root), *map(ctypes.byref, geometry)):
        sys.exit(f"x11_probe: no window {window:#x}")
    image = xlib.XGetImage(display, window, 0, 0, geometry[2], geometry[3], AllPlanes, ZPixmap)
    if not image:
        sys.exit(f"x11_probe: cannot read window {window:#x}")
    img = ctypes.cast(image, ctypes.POINTER(XImage)).contents
    if img.bits_per_pixel != 32:
        sys.exit(f"x11_probe: {img.bits_per_pixel}-bit pixels are not handled")
    stride = img.bytes_per_line
    data = ctypes.string_at(img.data, stride * img.height)
    rows = data if stride == 4 * img.width else b"".join(
        data[r * stride:r * stride + 4 * img.width] for r in range(img.height))
    width, height = img.width, img.height
    xlib.XFree(img.data)
    xlib.XFree(image)
    return width, height, rows


def dark_share(pixels, step=1):
    """The share of black pixels in a run of BGRX bytes, every step-th pixel."""
    blue, green, red = pixels[0::4 * step], pixels[1::4 * step], pixels[2::4 * step]
    dark = sum(1 for b, g, r in zip(blue, green, red) if b + g + r < DARK)
    return dark / len(blue)


def edges(width, height, pixels):
    """The four one-pixel edges, as BGRX runs."""
    row = 4 * width
    top, bottom = pixels[:row], pixels[(height - 1) * row:]
    left = b"".join(pixels[r * row:r * row + 4] for r in range(height))
    right = b"".join(pixels[r * row + row - 4:r * row + row] for r in range(height))
    return {"top": top, "bottom": bottom, "left": left, "right": right}


def covered(window):
    """Why the window does not show the mesh to every edge, or None."""
    width, height, pixels = grab(window)
    # Every 31st pixel: a stride prime to the width samples all over.
    if dark_share(pixels, 31) > 0.02:
        return f"{dark_share(pixels, 31):.1%} of the {width}x{height} picture is black"
    for name, run in edges(width, height, pixels).items():
        if dark_share(run) > 0.01:
            return f"the {name} edge is {dark_share(run):.1%} black"
    return None


def read_png(path):
    """A picture file's pixels as grab gives them, through ImageMagick."""
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, check=True)
    width, height = map(int, size.stdout.split())
    pixels = subprocess.run(["convert", path, "-depth", "8", "bgra:-"], capture_output=True,
                            check=True).stdout
    return width, height, pixels


def facets(width, height, pixels):
    """Mean count of colour steps down the columns of both outer sixths."""
    columns = list(range(2, width // 6)) + list(range(width - width // 6, width - 2))
    steps = 0
    for x in columns:
        column = [pixels[4 * (y * width + x):4 * (y * width + x) + 3] for y in range(height)]
        steps += sum(1 for a, b in zip(column, column[1:])
                     if sum(abs(p - q) for p, q in zip(a, b)) > 6)
    return steps / len(columns)


def main(command, args):
    if command == "window":
        width, height = (int(v) for v in args[0].split("x"))
        root = xlib.XDefaultRootWindow(display)
        window = xlib.XCreateSimpleWindow(display, root, 0, 0, width, height, 0, 0, 0)
        xlib.XMapWindow(display, window)
        xlib.XSync(display, 0)
        print(f"{window:#x}", flush=True)
        signal.pause()
        return 0
    if command == "cover-time":
        start = time.monotonic()
        deadline = start + float(args[0])
        subprocess.run(args[1:], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The screen counts as covered once the mesh reaches all its edges.
        while (problem := covered(xlib.XDefaultRootWindow(display))) is not None:
            if time.monotonic() > deadline:
                print(problem)
                return 1
            time.sleep(0.002)
        print(round((time.monotonic() - start) * 1000))
        return 0
    if command == "facets":
        source = args[0]
        image = read_png(source) if source.endswith(".png") else grab(int(source, 0))
        print(round(facets(*image)))
        return 0
    if command == "covered":
        problem = covered(window_arg(args))
        print(problem or "covered to every edge")
        return 1 if problem else 0
    if command == "changes":
        window = window_arg(args)
        first = grab(window)[2]
        time.sleep(0.1)
        if grab(window)[2] == first:
            print("the picture did not change in 100 ms")
            return 1
        return 0
    sys.exit(__doc__)


sys.exit(main(sys.argv[1], sys.argv[2:]))
