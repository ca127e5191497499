"""check_package.py SOURCE_DIR BUILD_DIR VERSION_URL: the zip that scripts/package.sh makes holds one folder,
Tallowind-<version>, with exactly the exe and a guide Notepad shows (UTF-8 with a byte-order mark or CP932,
CR LF) naming the version URL; the zip and the folder are named after the exe's version. The folder is left
in BUILD_DIR/package/app for the end-to-end test."""
import glob, os, re, shutil, subprocess, sys, zipfile

source, build, url = sys.argv[1:]
shutil.rmtree(build + '/package', ignore_errors=True)
subprocess.run([source + '/scripts/package.sh', build + '/package', build], check=True)
[path] = glob.glob(build + '/package/*.zip')
named = re.fullmatch(r'Tallowind-(\d+\.\d+\.\d+)-win32\.zip', os.path.basename(path))
with zipfile.ZipFile(path) as archive:
  folder = 'Tallowind-%s/' % (named[1] if named else '?')
  assert sorted(archive.namelist()) == [folder + 'README-ja.txt', folder + 'Tallowind.exe'], archive.namelist()
  archive.extractall(build + '/package/app')
folder = build + '/package/app/' + folder
guide = open(folder + 'README-ja.txt', 'rb').read()
text = guide[3:].decode('utf-8') if guide.startswith(b'\xef\xbb\xbf') else guide.decode('cp932')
assert guide.count(b'\r') == guide.count(b'\n') == guide.count(b'\r\n') > 50, 'guide lines end in CR LF only'
assert url in text and '@TALLOWIND' not in text, 'guide names the version URL, no placeholder left'
exe = open(folder + 'Tallowind.exe', 'rb').read()
version = exe.split('FileVersion\0'.encode('utf-16-le'), 1)[-1].decode('utf-16-le', 'replace')
assert named and version.lstrip('\0').split('\0')[0] == named[1] + '.0', ('zip name and exe version', path)
