"""Test signals and WAV files for the host checks, with nothing beyond the standard library."""
import array
import math
import struct


def music(seconds, rate):
    """A loud stereo test piece: a decaying kick, a bass line, noise bursts and quiet bars, so
    that every factory program compresses and limits it differently."""
    n = int(seconds * rate)
    left = array.array('f', bytes(4 * n))
    right = array.array('f', bytes(4 * n))
    state = 12345
    beat = rate // 2
    for i in range(n):
        t = i / rate
        tb = (i % beat) / rate
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        noise = state / 0x3FFFFFFF - 1.0
        quiet = 0.25 if (i // (4 * beat)) % 3 == 2 else 1.0
        kick = math.sin(2 * math.pi * (50 + 90 * math.exp(-tb * 30)) * tb) * math.exp(-tb * 8)
        bass = 0.35 * math.sin(2 * math.pi * (55 if (i // (2 * beat)) % 2 else 73.4) * t)
        hat = 0.3 * noise * math.exp(-((i % (beat // 2)) / rate) * 60)
        left[i] = quiet * (0.55 * kick + bass + hat)
        right[i] = quiet * (0.5 * kick + 0.8 * bass - 0.7 * hat)
    return left, right


def write_float_wav(path, rate, left, right):
    frames = array.array('f')
    for a, b in zip(left, right):
        frames.append(a)
        frames.append(b)
    data = frames.tobytes()
    with open(path, 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', 36 + len(data)) + b'WAVE')
        f.write(b'fmt ' + struct.pack('<IHHIIHH', 16, 3, 2, rate, rate * 8, 8, 32))
        f.write(b'data' + struct.pack('<I', len(data)) + data)


def read_wav(path):
    """(rate, left, right) of a stereo WAV in 16-, 24- or 32-bit PCM or 32-bit float."""
    with open(path, 'rb') as f:
        blob = f.read()
    if blob[:4] != b'RIFF' or blob[8:12] != b'WAVE':
        raise ValueError(f'{path}: not a WAV file')
    pos, fmt, data = 12, None, None
    while pos + 8 <= len(blob):
        tag, size = blob[pos:pos + 4], struct.unpack('<I', blob[pos + 4:pos + 8])[0]
        body = blob[pos + 8:pos + 8 + size]
        if tag == b'fmt ':
            fmt = struct.unpack('<HHIIHH', body[:16])
            if fmt[0] == 0xFFFE:
                fmt = (struct.unpack('<H', body[24:26])[0],) + fmt[1:]
        elif tag == b'data':
            data = body
        pos += 8 + size + (size & 1)
    if fmt is None or data is None or fmt[1] != 2:
        raise ValueError(f'{path}: no stereo audio')
    kind, bits = fmt[0], fmt[5]
    if kind == 3 and bits == 32:
        samples = array.array('f', data)
    elif kind == 1 and bits == 16:
        samples = [v / 32768.0 for v in array.array('h', data)]
    elif kind == 1 and bits == 32:
        samples = [v / 2147483648.0 for v in array.array('i', data)]
    elif kind == 1 and bits == 24:
        samples = [int.from_bytes(data[i:i + 3], 'little', signed=True) / 8388608.0
                   for i in range(0, len(data) - 2, 3)]
    else:
        raise ValueError(f'{path}: unsupported sample format {kind}/{bits}')
    return fmt[2], samples[0::2], samples[1::2]


def largest_difference(a, b, lag=0):
    """Largest |a[i] - b[i + lag]| over the frames both have."""
    worst = 0.0
    for i in range(max(0, -lag), min(len(a), len(b) - lag)):
        d = abs(a[i] - b[i + lag])
        if d > worst:
            worst = d
    return worst
