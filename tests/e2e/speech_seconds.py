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


if __name__ == "__main__":
    import sys
    for message in sys.argv[1:]:
        print(f"{seconds(message):.2f} s  {message}")
