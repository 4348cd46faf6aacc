#!/usr/bin/env python3
"""Audacity, scripted through mod-script-pipe under a virtual display, applies every factory
program by name ("Factory Preset:<name>") to an imported file and exports it; each export must
be the sound zembrac-render gives for that program, sample-aligned.

Usage: audacity-programs.py RENDER PLUGIN.so   (run inside xvfb-run)
"""
import fcntl
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import hostaudio  # noqa: E402

RATE = 44100
STARTUP_DEADLINE = 120.0
COMMAND_DEADLINE = 60.0
# Audacity and the renderer cut the stream into different blocks, and a few of the processor's
# rules act at block ends, so the two may differ by a hair; a program that was not applied, or
# a shift of one frame, differs by far more.
TOLERANCE = 2e-3
PIPE_TO = f'/tmp/audacity_script_pipe.to.{os.getuid()}'
PIPE_FROM = f'/tmp/audacity_script_pipe.from.{os.getuid()}'


def fail(message):
    print(f'audacity-programs: {message}', file=sys.stderr)
    sys.exit(1)


def wait_for(condition, deadline, what):
    end = time.monotonic() + deadline
    while not condition():
        if time.monotonic() > end:
            fail(f'gave up waiting for {what}')
        time.sleep(0.1)


def write_config(home, temp, script_module):
    module = '/usr/lib/audacity/modules/mod-script-pipe.so'
    stamp = time.strftime('%Y-%m-%dT%H:%M:%S', time.localtime(os.path.getmtime(module)))
    config = os.path.join(home, '.config', 'audacity')
    os.makedirs(config, exist_ok=True)
    # A settings file of this version (an older or missing one is replaced by defaults): no
    # welcome dialog, the script module enabled for this very file, float WAV exports, and
    # unsaved projects kept in the work folder, where no later run offers to recover them.
    with open(os.path.join(config, 'audacity.cfg'), 'w') as f:
        f.write('PrefsVersion=1.1.1r1\n'
                '[Version]\nMajor=3\nMinor=2\nMicro=4\n'
                '[GUI]\nShowSplashScreen=0\n'
                f'[Directories]\nTempDir={temp}\n'
                f'[ModulePath]\nmod-script-pipe={module}\n'
                f'[Module]\nmod-script-pipe={1 if script_module else 0}\n'
                f'[ModuleDateTime]\nmod-script-pipe={stamp}\n'
                '[FileFormats]\nExportFormat_SF1=65542\n'
                '[FileFormats/ExportFormat_SF1_Type]\nWAV_10000=65542\n')


# Audacity also scans these folders whatever the environment says, and plug-ins there that fail
# its check stop start-up with a dialog. As root they are hidden in a mount namespace of its own.
PLUGIN_FOLDERS = ['/usr/lib/lv2', '/usr/local/lib/lv2', '/usr/lib/ladspa', '/usr/local/lib/ladspa',
                  '/usr/lib/vst3', '/usr/lib/vst', '/usr/local/lib/vst', '/usr/lib/lxvst',
                  '/usr/lib/vamp']


def hermetic(command):
    folders = [d for d in PLUGIN_FOLDERS if os.path.isdir(d)]
    if os.getuid() != 0 or shutil.which('unshare') is None or not folders:
        return command
    mounts = ' && '.join(f'mount -t tmpfs none {d}' for d in folders)
    return ['unshare', '-m', 'sh', '-c', f'{mounts} && exec "$@"', 'sh'] + command


def start_audacity(env):
    return subprocess.Popen(hermetic(['audacity']), env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True)


def stop(process):
    if process is not None and process.poll() is None:
        process.kill()
        process.wait()


def plugin_registered(registry, folder):
    try:
        with open(registry) as f:
            return f'Path={folder}/' in f.read()
    except OSError:
        return False


def has_children(pid):
    try:
        with open(f'/proc/{pid}/task/{pid}/children') as f:
            return f.read().strip() != ''
    except OSError:
        return False


def project_window_shown():
    tree = subprocess.run(['xwininfo', '-root', '-tree'], capture_output=True, text=True).stdout
    return '"Audacity": ("audacity" "Audacity")' in tree


class Pipe:
    def __init__(self):
        self.to = open(PIPE_TO, 'w')
        self.fr = open(PIPE_FROM, 'r')

    def command(self, text):
        print(f'> {text}', flush=True)
        signal.alarm(int(COMMAND_DEADLINE))
        self.to.write(text + '\n')
        self.to.flush()
        lines = []
        while True:
            line = self.fr.readline()
            if line == '':
                fail(f'Audacity closed the pipe during "{text}"')
            if line == '\n' and lines and lines[-1].startswith('BatchCommand finished:'):
                break
            lines.append(line.rstrip('\n'))
        signal.alarm(0)
        if not lines[-1].endswith('OK'):
            fail(f'"{text}" failed: ' + ' | '.join(lines))
        return lines


def program_names(render, plugin):
    out = subprocess.run([render, '--plugin', plugin, '--list'], check=True,
                         capture_output=True, text=True).stdout
    names = out.split('Programs (')[1].splitlines()[1:]
    return [line.split(None, 1)[1].strip() for line in names if line.strip()]


def main():
    render, plugin = sys.argv[1], os.path.abspath(sys.argv[2])
    if shutil.which('audacity') is None:
        fail('audacity is not installed (Debian package audacity)')
    signal.signal(signal.SIGALRM, lambda *_: fail('an Audacity command took too long'))
    work = tempfile.mkdtemp(prefix='zembrac-audacity-')
    # One scripted Audacity per user at a time: the pipe names are fixed.
    lock = open(os.path.join(tempfile.gettempdir(), f'zembrac-audacity-{os.getuid()}.lock'), 'w')
    fcntl.flock(lock, fcntl.LOCK_EX)
    audacity = None
    try:
        home, vst = os.path.join(work, 'home'), os.path.join(work, 'vst')
        empty, temp = os.path.join(work, 'none'), os.path.join(work, 'temp')
        for d in (home, vst, empty, temp):
            os.makedirs(d, exist_ok=True)
        shutil.copy(plugin, vst)
        source = os.path.join(work, 'in.wav')
        hostaudio.write_float_wav(source, RATE, *hostaudio.music(4, RATE))
        names = program_names(render, plugin)
        if len(names) != 9:
            fail(f'the renderer lists {len(names)} programs')

        for stale in (PIPE_TO, PIPE_FROM):
            if os.path.exists(stale):
                os.unlink(stale)
        env = dict(os.environ, HOME=home, VST_PATH=vst, LV2_PATH=empty, LADSPA_PATH=empty,
                   VST3_PATH=empty, XDG_CONFIG_HOME=os.path.join(home, '.config'))
        # Audacity checks new plug-ins in a second Audacity process, which loads the script
        # module too and replaces the pipes the first one waits on. So a first start without
        # the module only registers the plug-in.
        write_config(home, temp, script_module=False)
        audacity = start_audacity(env)
        registry = os.path.join(home, '.config', 'audacity', 'pluginregistry.cfg')
        wait_for(lambda: plugin_registered(registry, vst) and not has_children(audacity.pid),
                 STARTUP_DEADLINE, 'Audacity to register the plug-in')
        stop(audacity)
        wait_for(lambda: not project_window_shown(), STARTUP_DEADLINE, 'the first Audacity to go')
        shutil.rmtree(temp)  # its unsaved project, which the next start would offer to recover
        os.makedirs(temp)
        write_config(home, temp, script_module=True)
        audacity = start_audacity(env)
        # A command sent while Audacity is still starting is never answered: wait for its
        # project window, then for the pipe.
        wait_for(project_window_shown, STARTUP_DEADLINE, "Audacity's project window")
        wait_for(lambda: os.path.exists(PIPE_TO) and os.path.exists(PIPE_FROM),
                 STARTUP_DEADLINE, "Audacity's script pipe")
        pipe = Pipe()
        print('audacity-programs: Audacity is listening')
        status = 0
        for index, name in enumerate(names):
            out = os.path.join(work, f'audacity-{index}.wav')
            ref = os.path.join(work, f'render-{index}.wav')
            # A fresh import each time: Undo would not always step back exactly one effect.
            pipe.command('SelectAll:')
            pipe.command('RemoveTracks:')
            pipe.command(f'Import2: Filename="{source}"')
            pipe.command('SelectAll:')
            pipe.command(f'Zembrac: Use_Preset="Factory Preset:{name}"')
            pipe.command(f'Export2: Filename="{out}" NumChannels=2')
            subprocess.run([render, '--plugin', plugin, '--program', name, '--no-progress',
                            '--no-levels', source, ref], check=True, stdout=subprocess.DEVNULL)
            _, al, ar = hostaudio.read_wav(out)
            _, rl, rr = hostaudio.read_wav(ref)
            if len(al) != len(rl):
                fail(f'{name}: Audacity exported {len(al)} frames, the renderer {len(rl)}')
            aligned = max(hostaudio.largest_difference(al, rl), hostaudio.largest_difference(ar, rr))
            shifted = min(hostaudio.largest_difference(al, rl, lag) for lag in (-1, 1))
            print(f'{name}: largest difference {aligned:.2e} aligned, {shifted:.2e} one frame off')
            if aligned > TOLERANCE or shifted <= TOLERANCE:
                print(f'audacity-programs: {name}: Audacity does not give the program\'s sound',
                      file=sys.stderr)
                status = 1
        if status == 0:
            print('audacity-programs: ok')
        return status
    finally:
        stop(audacity)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    sys.exit(main())
