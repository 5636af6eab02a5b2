"""Seconds of speech of a message as a player by ear hears it at Orca's default settings: spoken
by espeak-ng, the voice that Orca's speech server uses by default, at its default rate, with the
silence at both ends trimmed (what is left is the time the player listens to words)."""

import array
import functools
import os
import subprocess
import tempfile
import wave

# A sample counts as sound above this share of full scale: the voice's quietest consonants
# stay in, the generator's dither and the pauses at the ends go.
THRESHOLD = 0.01


@functools.lru_cache(maxsize=None)
def seconds(text):
    """The seconds of speech of text; 0 for text with nothing to say."""
    if not text.strip():
        return 0.0
    with tempfile.TemporaryDirectory() as scratch:
        path = os.path.join(scratch, "said.wav")
        subprocess.run(["espeak-ng", "-w", path, text], check=True, capture_output=True,
                       timeout=60)
        with wave.open(path) as sound:
            if sound.getsampwidth() != 2 or sound.getnchannels() != 1:
                raise ValueError("espeak-ng wrote other than 16-bit mono")
            rate = sound.getframerate()
            samples = array.array("h", sound.readframes(sound.getnframes()))
    floor = THRESHOLD * 32768
    loud = [i for i, sample in enumerate(samples) if abs(sample) > floor]
    return (loud[-1] - loud[0] + 1) / rate if loud else 0.0


def said_seconds(lines, keys=()):
    """The seconds of speech of what Orca said after a key: its lines one after another, less
    the echo of the keys themselves (Orca says a key's name as it goes down)."""
    echoes = {key.lower() for key in keys}
    return sum(seconds(line) for line in lines if line.strip().lower() not in echoes)


def transcript_steps(path):
    """The seconds of speech after each N and after each Space of an Orca game's transcript
    (orca_by_ear.py --transcript): two lists, in the order of the keys."""
    after = {"n": [], "space": []}
    key, lines = None, []
    with open(path) as transcript:
        for line in list(transcript) + ["[end]\n"]:
            if line.startswith("["):
                if key in after:
                    after[key].append(said_seconds(lines, [key]))
                key, lines = line.strip()[1:-1], []
            else:
                lines.append(line.strip())
    return after["n"], after["space"]


def main():
    import argparse
    import statistics
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--transcript", action="append", default=[],
                        help="an Orca game's transcript: report the speech after N and Space")
    parser.add_argument("text", nargs="*", help="messages to time")
    args = parser.parse_args()
    for message in args.text:
        print(f"{seconds(message):.2f} s  {message}")
    for path in args.transcript:
        after_n, after_space = transcript_steps(path)
        n, space = statistics.median(after_n), statistics.median(after_space)
        print(f"{path}: {len(after_n)} N, {len(after_space)} Space; after N median {n:.2f} s, "
              f"after Space median {space:.2f} s, per step {n + space:.2f} s")


if __name__ == "__main__":
    main()
