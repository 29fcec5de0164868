# Seed archives for the zip fuzz target: small archives of every shape the reader and the extractor
# know (stored, deflated, folders, comments, descriptors, Zip64 sizes, encrypted, legacy method numbers).
import io, sys, zipfile, os

out = sys.argv[1]
os.makedirs(out, exist_ok=True)

def save(name, build):
    buf = io.BytesIO()
    build(buf)
    with open(os.path.join(out, name), 'wb') as f:
        f.write(buf.getvalue())

def basic(buf):
    with zipfile.ZipFile(buf, 'w') as z:
        z.writestr('a.txt', 'hello hello hello')
        z.writestr('dir/', '')
        z.writestr('dir/b.bin', bytes(range(256)) * 4, compress_type=zipfile.ZIP_DEFLATED)

def comment(buf):
    with zipfile.ZipFile(buf, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('c.txt', 'x' * 3000)
        z.comment = b'PK\x05\x06 not an end record ' * 4

class Pipe:
    def __init__(self, f): self.f = f
    def write(self, b): return self.f.write(b)
    def flush(self): pass

def descriptor(buf):
    with zipfile.ZipFile(Pipe(buf), 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('d.txt', 'descriptor ' * 200)

def dos_host(buf):
    with zipfile.ZipFile(buf, 'w') as z:
        i = zipfile.ZipInfo('ro.txt')
        i.create_system = 0
        i.external_attr = 0x21
        z.writestr(i, 'read only')

def empty(buf):
    with zipfile.ZipFile(buf, 'w'):
        pass

def zip64(buf):
    with zipfile.ZipFile(buf, 'w', zipfile.ZIP_DEFLATED) as z:
        with z.open('z.txt', 'w', force_zip64=True) as f:
            f.write(b'zip64 sizes ' * 100)

for name, build in [('basic.zip', basic), ('comment.zip', comment), ('descriptor.zip', descriptor),
                    ('dos.zip', dos_host), ('empty.zip', empty), ('zip64.zip', zip64)]:
    save(name, build)

# The same small archive with its method number set to each legacy method (the data then is garbage
# to that decoder, which is what the fuzzer starts from), and with the encrypted flag.
base = open(os.path.join(out, 'basic.zip'), 'rb').read()
for method in (1, 2, 5, 6, 9):
    b = bytearray(base)
    b[8] = method
    cd = b.find(b'PK\x01\x02')
    b[cd + 10] = method
    open(os.path.join(out, 'method%d.zip' % method), 'wb').write(bytes(b))
b = bytearray(base)
b[6] |= 1
open(os.path.join(out, 'encrypted.zip'), 'wb').write(bytes(b))
