"""A client connection to an X display through libX11 and the XTEST extension: keys, wheel
clicks and screen captures sent and taken in this process. A picture costs a few milliseconds
and a key reaches the game at once, so a test can act and look well inside the time a game
leaves before its first stone can arrive; starting a program for each of these took up to half
a second on a loaded machine."""

import ctypes
import ctypes.util
import select

Z_PIXMAP = 2
ALL_PLANES = 0xFFFFFFFF
CLIENT_MESSAGE = 33
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, as far as the pixels need.
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_char)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("client", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


def _load(name):
    path = ctypes.util.find_library(name)
    if path is None:
        raise RuntimeError("lib%s is not installed" % name)
    return ctypes.CDLL(path)


_X11 = _load("X11")
_XTST = _load("Xtst")
_X11.XOpenDisplay.restype = ctypes.c_void_p
_X11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_X11.XCloseDisplay.argtypes = [ctypes.c_void_p]
_X11.XDefaultRootWindow.restype = ctypes.c_ulong
_X11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_X11.XGetImage.restype = ctypes.POINTER(XImage)
_X11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                           ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
_X11.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
_X11.XStringToKeysym.restype = ctypes.c_ulong
_X11.XStringToKeysym.argtypes = [ctypes.c_char_p]
_X11.XKeysymToKeycode.restype = ctypes.c_ubyte
_X11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_X11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_X11.XInternAtom.restype = ctypes.c_ulong
_X11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
_X11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
_X11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                            ctypes.POINTER(XEvent)]
_X11.XCheckTypedEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.POINTER(XEvent)]
_X11.XConnectionNumber.argtypes = [ctypes.c_void_p]
_X11.XPending.argtypes = [ctypes.c_void_p]
_XTST.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
_XTST.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                       ctypes.c_ulong]
_XTST.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                       ctypes.c_ulong]


class XDisplay:
    def __init__(self, name):
        self.handle = _X11.XOpenDisplay(name.encode())
        if not self.handle:
            raise RuntimeError("cannot open display " + name)
        self.root = _X11.XDefaultRootWindow(self.handle)
        self.wm_protocols = _X11.XInternAtom(self.handle, b"WM_PROTOCOLS", 0)
        self.wm_ping = _X11.XInternAtom(self.handle, b"_NET_WM_PING", 0)
        self.pings_sent = 0
        self.last_answer = 0
        # A window answers a ping by sending it back to the root window, where windows being
        # created and shown are reported too.
        _X11.XSelectInput(self.handle, self.root, SUBSTRUCTURE_NOTIFY_MASK)
        self.connection = _X11.XConnectionNumber(self.handle)

    def close(self):
        if self.handle:
            _X11.XCloseDisplay(self.handle)
            self.handle = None

    def key(self, name, down):
        """Presses or releases the key of an X keysym name (such as "Return" or "a")."""
        keysym = _X11.XStringToKeysym(name.encode())
        keycode = _X11.XKeysymToKeycode(self.handle, keysym)
        if keysym == 0 or keycode == 0:
            raise ValueError("no key " + name)
        _XTST.XTestFakeKeyEvent(self.handle, keycode, int(down), 0)
        _X11.XSync(self.handle, 0)

    def click(self, button, x, y, times=1):
        """Clicks a mouse button (4 and 5 are the wheel) with the pointer at (x, y)."""
        _XTST.XTestFakeMotionEvent(self.handle, -1, x, y, 0)
        for _ in range(times):
            _XTST.XTestFakeButtonEvent(self.handle, button, 1, 0)
            _XTST.XTestFakeButtonEvent(self.handle, button, 0, 0)
        _X11.XSync(self.handle, 0)

    def ping(self, window):
        """Sends the window manager's ping to a window; returns its number for answered()."""
        self.pings_sent += 1
        event = XEvent()
        event.client.type = CLIENT_MESSAGE
        event.client.window = window
        event.client.message_type = self.wm_protocols
        event.client.format = 32
        event.client.data[0] = self.wm_ping
        event.client.data[1] = self.pings_sent
        event.client.data[2] = window
        _X11.XSendEvent(self.handle, window, 0, 0, ctypes.byref(event))
        _X11.XSync(self.handle, 0)
        return self.pings_sent

    def answered(self, ping):
        """Whether the answer to this ping, or to a later one, has come back."""
        event = XEvent()
        while _X11.XCheckTypedEvent(self.handle, CLIENT_MESSAGE, ctypes.byref(event)):
            data = event.client.data
            if event.client.message_type == self.wm_protocols and data[0] == self.wm_ping:
                self.last_answer = max(self.last_answer, data[1])
        return self.last_answer >= ping

    def wait_for_news(self, timeout):
        """Sleeps until the server sends something, or for `timeout` seconds."""
        readable, _, _ = select.select([self.connection], [], [], timeout)
        if readable:
            _X11.XPending(self.handle)

    def capture(self, width, height, x=0, y=0):
        """The screen's width x height pixels from (x, y) as packed RGB bytes."""
        image = _X11.XGetImage(self.handle, self.root, x, y, width, height, ALL_PLANES, Z_PIXMAP)
        if not image:
            raise RuntimeError("the screen could not be read")
        try:
            fields = image.contents
            if fields.bits_per_pixel != 32 or fields.byte_order != 0:
                raise RuntimeError("expected 32-bit little-endian pixels from the X server")
            stride = fields.bytes_per_line
            raw = ctypes.string_at(fields.data, stride * height)
        finally:
            _X11.XDestroyImage(image)
        # Each pixel is stored blue, green, red, unused.
        rgb = bytearray(width * height * 3)
        pixels = raw if stride == width * 4 else b"".join(
            raw[row * stride:row * stride + width * 4] for row in range(height))
        rgb[0::3] = pixels[2::4]
        rgb[1::3] = pixels[1::4]
        rgb[2::3] = pixels[0::4]
        return bytes(rgb)
