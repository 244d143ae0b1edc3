"""The X display of the GUI tests: screenshots read pixel by pixel, and
real input through xdotool."""
import subprocess
import time

# The skins' Chinese face, drawn with the font the machine has.
FONT_SUBSTITUTES = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes"


class Screenshot:
    """The X screen's pixels in a rectangle, taken once with ImageMagick's
    import: the kept PNG file is written from the very pixels the checks
    read."""

    def __init__(self, png, rect):
        left, top, right, bottom = rect
        crop = ["-window", "root", "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top), "+repage"]
        ppm = subprocess.run(["import", *crop, "-depth", "8", "ppm:-"], check=True, capture_output=True,
                             timeout=60).stdout
        subprocess.run(["/usr/bin/convert", "ppm:-", png], input=ppm, check=True, timeout=60)
        # P6, width, height and maximum, each followed by one whitespace byte.
        fields = ppm.split(maxsplit=4)
        self.width, self.height, maximum = int(fields[1]), int(fields[2]), int(fields[3])
        self.channel_bytes = 1 if maximum < 256 else 2
        self.pixels = ppm[len(ppm) - self.width * self.height * 3 * self.channel_bytes:]

    def at(self, x, y):
        """(red, green, blue) with 8 bits each."""
        step = self.channel_bytes
        offset = (y * self.width + x) * 3 * step
        return tuple(self.pixels[offset + i * step] for i in range(3))


def centre(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def xdo(*args):
    """One xdotool command, then a moment for the window to take it."""
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True, timeout=30)
    time.sleep(0.25)
