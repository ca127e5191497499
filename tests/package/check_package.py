"""check_package.py SOURCE_DIR BUILD_DIR VERSION_URL TIME_LIMIT_SECONDS: the zip of scripts/package.sh
holds exactly the exe and a guide Notepad shows (UTF-8 with a byte-order mark or CP932, CR LF) naming
the version URL; the exe unpacked from it starts under Wine, shows its window, makes save_data."""
import glob, os, re, signal, subprocess, sys, tempfile, time, zipfile

source, build, url, limit = sys.argv[1], sys.argv[2], sys.argv[3], float(sys.argv[4])
failures = []
def Check(name, condition):
  if not condition: failures.append(name); print('FAILED:', name)

def CheckZip(work):
  subprocess.run([source + '/scripts/package.sh', work + '/dist', build], check=True)
  zips = glob.glob(work + '/dist/*')
  named = len(zips) == 1 and re.fullmatch(r'Tallowind-(\d+\.\d+\.\d+)-win32\.zip', os.path.basename(zips[0]))
  Check('one file, Tallowind-<major.minor.patch>-win32.zip', named)
  with zipfile.ZipFile(zips[0]) as archive:
    Check('exactly Tallowind.exe and README-ja.txt', sorted(archive.namelist()) == ['README-ja.txt', 'Tallowind.exe'])
    archive.extractall(work + '/app')
  guide = open(work + '/app/README-ja.txt', 'rb').read()
  text = guide[3:].decode('utf-8') if guide.startswith(b'\xef\xbb\xbf') else guide.decode('cp932')
  Check('guide lines end in CR LF only', guide.count(b'\r') == guide.count(b'\n') == guide.count(b'\r\n') > 50)
  Check('guide names the version URL, no placeholder left', url in text and '@TALLOWIND' not in text)
  exe = open(work + '/app/Tallowind.exe', 'rb').read()
  version = exe.split('FileVersion\0'.encode('utf-16-le'), 1)[-1].decode('utf-16-le', 'replace')
  Check('zip named after the exe version', named and version.lstrip('\0').split('\0')[0] == named[1] + '.0')

def CheckStart(directory):
  # A headless prefix of its own, so that ending its server touches no other test.
  env = dict(os.environ, WINEPREFIX=build + '/wineprefix-package', TALLOWIND_HEADLESS='1')
  read, write = os.pipe()
  xvfb = subprocess.Popen(['Xvfb', '-displayfd', str(write), '-screen', '0', '1024x768x24', '-nolisten', 'tcp'],
                          pass_fds=[write], stderr=subprocess.DEVNULL)
  os.close(write)
  env['DISPLAY'] = ':' + os.read(read, 16).decode().strip()
  app = subprocess.Popen([source + '/scripts/wine-run.sh', 'Tallowind.exe'], cwd=directory, env=env,
                         start_new_session=True)
  shown = lambda: 'IsViewable' in subprocess.run(['xwininfo', '-name', 'Tallowind'], env=env,
                                                 capture_output=True, text=True).stdout
  try:
    deadline = time.monotonic() + limit
    while app.poll() is None and time.monotonic() < deadline and not shown(): time.sleep(0.5)
    Check('the unpacked exe shows its window', shown())
    Check('save_data made beside the exe', os.path.isdir(directory + '/save_data'))
  finally:  # the program, its services and server; then a set-up still running, or a server not yet up
    for _ in range(2):
      subprocess.run(['wineserver', '-k'], env=env, stderr=subprocess.DEVNULL)
      try: app.wait(20); break
      except subprocess.TimeoutExpired: os.killpg(app.pid, signal.SIGKILL)
    subprocess.run(['wineserver', '-w'], env=env)
    xvfb.terminate(); xvfb.wait(10)

with tempfile.TemporaryDirectory(prefix='tallowind-package-') as work:
  CheckZip(work); CheckStart(work + '/app')
sys.exit(print(f'{len(failures)} failed') or bool(failures))
