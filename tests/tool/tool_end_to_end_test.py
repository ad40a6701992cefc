"""Runs rimeglass-tool as a user would and checks what it prints and writes.

The tool's path comes from the RIMEGLASS_TOOL environment variable; CTest
runs each test case below as its own test.
"""
import json
import os
import struct
import subprocess
import sys
import tempfile
import unittest

TOOL = os.environ.get("RIMEGLASS_TOOL", "rimeglass-tool")


def run_tool(*args):
    return subprocess.run([TOOL, *args], capture_output=True, text=True, timeout=120)


def dump_json(*args):
    result = run_tool("dump", *args)
    if result.returncode != 0:
        raise AssertionError(f"dump {' '.join(args)} failed: {result.stderr}")
    return json.loads(result.stdout)


def as_float32(value):
    return struct.unpack("<f", struct.pack("<f", value))[0]


def same_float32(printed, value):
    """The tool prints nine digits: enough to read back its float exactly."""
    return as_float32(printed) == as_float32(value)


def png_size(path):
    with open(path, "rb") as file:
        header = file.read(33)
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        raise AssertionError(f"{path} is not a PNG")
    width, height = struct.unpack(">II", header[16:24])
    return width, height


class DumpCrystal(unittest.TestCase):
    def test_shape_zero_grows_the_known_crystal(self):
        crystal = dump_json("crystal", "--shape", "0,0,0")
        self.assertEqual(crystal["shape"], [0, 0, 0])
        points = crystal["points"]
        self.assertEqual(len(points), 231)
        self.assertEqual([(p["i"], p["j"]) for p in points],
                         [(i, j) for i in range(21) for j in range(i + 1)])

        def where(level):
            return [(p["i"], p["j"]) for p in points if same_float32(p["level"], level)]

        self.assertEqual(len(where(0.5)), 31)
        self.assertEqual(where(0.7), [(10, 0), (10, 10), (19, 0), (19, 19)])
        self.assertEqual(where(0.9), [(14, 5), (14, 9), (16, 1)])
        empty = [p for p in points if p["alpha"] == 0]
        self.assertEqual(len(empty), 80)
        for p in empty:
            self.assertTrue(same_float32(p["zFront"], -0.002), p)
        # Rim and halo points are faint (alpha 0.2); the solid ones are
        # brighter the thicker they are.
        self.assertEqual(sum(1 for p in points if same_float32(p["alpha"], 0.2)), 115)
        for p in points:
            self.assertEqual(p["zBack"], -p["zFront"])

    def test_shape_changes_the_crystal(self):
        plain = dump_json("crystal", "--shape", "0,0,0")
        shaped = dump_json("crystal", "--shape", "500,999,250")
        self.assertEqual(shaped["shape"], [500, 999, 250])
        self.assertNotEqual([p["level"] for p in plain["points"]],
                            [p["level"] for p in shaped["points"]])


class DumpScene(unittest.TestCase):
    def assert_grid_block(self, scene, rows, cols):
        self.assertEqual((scene["rows"], scene["cols"]), (rows, cols))
        for name in ("x", "y", "depth", "red", "green", "blue"):
            self.assertEqual(len(scene[name]), rows + 1, name)
            self.assertTrue(all(len(row) == cols + 1 for row in scene[name]), name)

    def test_full_screen_grid(self):
        scene = dump_json("scene", "--size", "1920x1080", "--seed", "1")
        self.assert_grid_block(scene, 80, 142)
        self.assertEqual(len(scene["phases"]), 6)
        self.assertEqual((scene["angle"], scene["step"]), (0, 0))
        # Set-up lays the rows out from y = -3 to +3, with a jitter below 0.01.
        self.assertAlmostEqual(scene["y"][0][5], -3, delta=0.01)
        self.assertAlmostEqual(scene["y"][80][5], 3, delta=0.01)

    def test_floats_read_back_as_the_same_float32(self):
        result = run_tool("dump", "scene", "--size", "320x240", "--seed", "3", "--frames", "2")
        scene = json.loads(result.stdout, parse_float=lambda text: text)
        printed = [text for name in ("x", "depth", "red") for row in scene[name] for text in row]
        printed += scene["phases"] + scene["shape"]
        for text in printed:
            # Nine significant digits name exactly one float32 and print back the same.
            self.assertEqual("%.9g" % as_float32(float(text)), text)

    def test_preview_grid_rounds_half_to_even(self):
        scene = dump_json("scene", "--size", "101x100", "--preview", "--seed", "7")
        self.assert_grid_block(scene, 50, 50)

    def test_seed_fixes_the_scene(self):
        first = dump_json("scene", "--size", "320x240", "--seed", "42")
        again = dump_json("scene", "--size", "320x240", "--seed", "42")
        other = dump_json("scene", "--size", "320x240", "--seed", "43")
        self.assertEqual(first, again)
        self.assertNotEqual(first["depth"], other["depth"])

    def test_frames_advance_the_animation(self):
        start = dump_json("scene", "--size", "320x240", "--seed", "5")
        one = dump_json("scene", "--size", "320x240", "--seed", "5", "--frames", "1")
        three = dump_json("scene", "--size", "320x240", "--seed", "5", "--frames", "3")
        # The first frame draws at 0 degrees and sets the step; then it turns.
        self.assertEqual((one["angle"], one["step"]), (0, 0.25))
        self.assertEqual((three["angle"], three["step"]), (0.5, 0.25))
        # Each frame moves the phases and recolours the grid; positions stay.
        self.assertNotEqual(start["phases"][0], one["phases"][0])
        self.assertNotEqual(one["red"], three["red"])
        self.assertEqual(start["x"], three["x"])


class BadArguments(unittest.TestCase):
    def test_rejected_with_usage_on_stderr(self):
        cases = [
            [],
            ["paint"],
            ["dump"],
            ["dump", "crystal"],
            ["dump", "crystal", "--shape", "1,2"],
            ["dump", "crystal", "--shape", "1,2,1000"],
            ["dump", "crystal", "--shape", "1,2,3,4"],
            ["dump", "scene", "--size", "1920x1080"],
            ["dump", "scene", "--size", "1920x0", "--seed", "1"],
            ["dump", "scene", "--size", "1920", "--seed", "1"],
            ["dump", "scene", "--size", "1920x1080", "--seed", "-1"],
            ["dump", "scene", "--size", "1920x1080", "--seed", "4294967296"],
            ["dump", "scene", "--size", "1920x1080", "--seed", "1", "--out", "x.png"],
            ["render", "--size", "64x48", "--seed", "1"],
            ["render", "--size", "64x48", "--seed", "1", "--frames", "0", "--out", "x.png"],
            ["render", "--size", "64x48", "--seed", "1", "--out"],
        ]
        for args in cases:
            with self.subTest(args=args):
                result = run_tool(*args)
                self.assertNotEqual(result.returncode, 0)
                self.assertEqual(result.stdout, "")
                lines = result.stderr.splitlines()
                self.assertEqual(len(lines), 2, result.stderr)
                self.assertTrue(lines[1].startswith("usage: rimeglass-tool "), result.stderr)

    def test_version(self):
        result = run_tool("--version")
        self.assertEqual(result.returncode, 0)
        self.assertRegex(result.stdout, r"^rimeglass-tool \d+\.\d+\.\d+\n$")


class Render(unittest.TestCase):
    def test_png_has_the_window_size(self):
        with tempfile.TemporaryDirectory() as directory:
            for size, extra in (("200x150", []), ("152x112", ["--preview"])):
                with self.subTest(size=size):
                    path = os.path.join(directory, "frame.png")
                    result = run_tool("render", "--size", size, *extra, "--seed", "3",
                                      "--frames", "2", "--out", path)
                    self.assertEqual(result.returncode, 0, result.stderr)
                    width, height = map(int, size.split("x"))
                    self.assertEqual(png_size(path), (width, height))

    def test_same_seed_same_file(self):
        with tempfile.TemporaryDirectory() as directory:
            paths = [os.path.join(directory, name) for name in ("a.png", "b.png", "c.png")]
            for path, seed in zip(paths, ("9", "9", "10")):
                result = run_tool("render", "--size", "160x90", "--seed", seed, "--out", path)
                self.assertEqual(result.returncode, 0, result.stderr)
            contents = [open(path, "rb").read() for path in paths]
            self.assertEqual(contents[0], contents[1])
            self.assertNotEqual(contents[0], contents[2])

    def test_unwritable_output_fails(self):
        result = run_tool("render", "--size", "32x32", "--seed", "1",
                          "--out", "/nonexistent-directory/frame.png")
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("/nonexistent-directory/frame.png", result.stderr)


if __name__ == "__main__":
    unittest.main(argv=sys.argv)
