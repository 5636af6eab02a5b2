#!/usr/bin/env python3
"""Shows a picture as eyes with a colour-vision deficiency see it, for reviewing artwork and
screenshots: writes OUT-protanopia.png, OUT-deuteranopia.png and OUT-tritanopia.png next to
a side-by-side OUT-all.png (normal, protanopia, deuteranopia, tritanopia from left to right).

The simulations are the severity-1 (dichromat) matrices of Machado, Oliveira and Fernandes
(2009), applied in linear RGB. Needs only python3 and ImageMagick's convert.

Usage: tools/colour-vision.py shot.png OUT
"""
import subprocess
import sys

SIMULATIONS = {
    "protanopia": ((0.152286, 1.052583, -0.204868),
                   (0.114503, 0.786281, 0.099216),
                   (-0.003882, -0.048116, 1.051998)),
    "deuteranopia": ((0.367322, 0.860646, -0.227968),
                     (0.280085, 0.672501, 0.047413),
                     (-0.011820, 0.042940, 0.968881)),
    "tritanopia": ((1.255528, -0.076749, -0.178779),
                   (-0.078411, 0.930809, 0.147602),
                   (0.004733, 0.691367, 0.303900)),
}


def to_linear(channel):
    c = channel / 255.0
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def to_srgb(linear):
    linear = min(1.0, max(0.0, linear))
    c = linear * 12.92 if linear <= 0.0031308 else 1.055 * linear ** (1 / 2.4) - 0.055
    return int(round(c * 255))


LINEAR = [to_linear(v) for v in range(256)]


def read_rgb(path):
    data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"],
                          capture_output=True, check=True).stdout
    magic, width, height, _, pixels = data.split(maxsplit=4)
    if magic != b"P6":
        raise SystemExit(f"{path}: convert gave {magic!r}, not a binary PPM")
    width, height = int(width), int(height)
    return width, height, pixels[:width * height * 3]


def write_rgb(path, width, height, pixels):
    header = b"P6 %d %d 255\n" % (width, height)
    subprocess.run(["convert", "ppm:-", path], input=header + bytes(pixels), check=True)


def simulate(pixels, matrix):
    seen = {}
    out = bytearray(len(pixels))
    for i in range(0, len(pixels), 3):
        rgb = bytes(pixels[i:i + 3])
        if rgb not in seen:
            linear = [LINEAR[v] for v in rgb]
            seen[rgb] = bytes(to_srgb(sum(m * c for m, c in zip(row, linear))) for row in matrix)
        out[i:i + 3] = seen[rgb]
    return out


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__.strip().splitlines()[-1])
    source, stem = sys.argv[1], sys.argv[2]
    width, height, pixels = read_rgb(source)
    views = [source]
    for name, matrix in SIMULATIONS.items():
        path = f"{stem}-{name}.png"
        write_rgb(path, width, height, simulate(pixels, matrix))
        views.append(path)
    subprocess.run(["convert", *views, "+append", f"{stem}-all.png"], check=True)
    print(f"{stem}-all.png: normal, " + ", ".join(SIMULATIONS))


if __name__ == "__main__":
    main()
