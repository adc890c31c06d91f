"""Settings-file variants for data/Veltor.config, written from the file's layout: sections that
start with a "// name" comment line, keys right-aligned in a field of the section's width, 8-bit
text with the CR LF line ends of text mode.

Each variant is a pair: the file to give the client, and the file the client is expected to write
back from what it read."""
import collections
import os

FILE_NAME = 'Veltor.config'
# The default game server: the client's own machine.
DEFAULT_HOST = '127.0.0.1'
# The binding "bar" shares its key with an option; values name it by this key.
BAR_BINDING = 'bar binding'

Variant = collections.namedtuple('Variant', 'file expected')


def _flags(text):
    """'key new missing' lines of booleans: T for true, F for false."""
    word = {'T': 'true', 'F': 'false'}
    return [(key, word[new], word[missing]) for key, new, missing in
            (line.split() for line in text.strip().splitlines())]


def _bindings(pairs):
    return [(key, str(code), str(code)) for key, code in pairs]


# (section, key width, lines). A line is (key, value in a new file, value when the file lacks
# the key), or None for an empty line.
LAYOUT = [
    ('Video', 10, [
        ('fullscreen', 'false', 'false'), ('maximized', 'false', 'false'),
        ('width', '800', '800'), ('height', '600', '600'), ('depth', '32', '32'),
        ('engine', 'OpenGL', 'OpenGL'), ('resolution', '0', '0'), ('target', '100', '50')]),
    ('Settings', 10, [('quality', 'high', 'high')] + _flags('''
        names T T
        push T T
        field F F
        hudscreen F F
        autoscreen F F
        status T T
        keys T T
        pixel F F
        time T T
        experience T F
        damage T T
        itemaps F F
        smiley T T
        bar T T
        info F F
        elastic F T
        layers T T
        autocast F F
        ofriends F F
        circle F F
        widescreen T T
        widescale F F
        chatbottom T T
        panel T T
        inventory T T
        framerate F F
        ping F F
        data F F
        limit F F''') + [('slotlimit', '2', '2')] + _flags('''
        lootcont T T
        atimer F F
        hidepush F F
        nosplit F F
        showchat T T
        loginfo F F
        hudstatus T T
        hudbars T T
        holdmove F F
        inverse F F
        cursor T T
        smarkers T T
        stowns T T
        sjournal T T''') + [('jfilter', '0', '0'), ('jselection', '', '')] + _flags('''
        mping T T
        mexp T T
        beta_mcap F F
        beta_mpool F F
        mchar T T
        mjournal T T
        mhouse T T
        mstore T T
        mfriends T T
        msetting T T
        mguide T T
        mreprt T T
        mlogout T T''')),
    ('Network', 10, [
        ('host', DEFAULT_HOST, DEFAULT_HOST), ('port', '4080', '4080'), ('steam', 'true', 'true')]),
    ('Controls - movement', 10, _bindings([('north', 17), ('east', 32), ('south', 31),
                                           ('west', 30)]) + [None] +
     _bindings([('northeast', 18), ('southeast', 46), ('southwest', 44), ('northwest', 16)])),
    ('Controls - hotkeys', 10, _bindings(
        zip(['F%d' % n for n in range(1, 13)], [2, 3, 4, 5, 6, 7, 19, 20, 33, 34, 47, 48]))),
    ('Controls - functions', 10, _bindings([
        ('trade', 20), ('invite', 23), ('stack', 19), ('print', 25), ('paste', 47), ('mode', 50),
        ('character', 46), ('help', 35), (BAR_BINDING, 48), ('friends', 33), ('map', 18),
        ('journal', 36)])),
    ('Controls - actions', 10, _bindings([('action1', 21), ('action2', 35), ('action3', 49)])),
    ('Presets', 10, [
        ('channels', 'World,Help,NPC', 'World,Help,NPC'), ('logs', '', ''), ('console', '', ''),
        ('hide_hud', '', ''), ('language', 'English', 'English'), ('foes', '', ''),
        ('ignored', '', '')]),
    ('Panels', 11, [
        ('panel_left', '50,2,1,0,157;40,0,2,0,199', '50,2,1,0,157;40,0,2,0,199'),
        ('panel_right', '21,41,2,0,200', '21,41,2,0,200'), ('panel_data', '', '')]),
    # Written only in test-client mode, so a new file has none of it.
    ('Testing', 14, [
        ('testing', None, 'false'), ('auto_username', None, ''), ('auto_password', None, ''),
        ('auto_character', None, '0'), ('auto_increment', None, '0')]),
]


def _lines():
    for _, _, lines in LAYOUT:
        for line in lines:
            if line:
                yield line


def new_file_values():
    """Every key's value in a file the client writes when it finds none."""
    return {key: new for key, new, _ in _lines() if new is not None}


def missing_values():
    """Every key's value when the file exists but lacks the key's line."""
    return {key: missing for key, _, missing in _lines()}


def render(values):
    """The file with a line for every key of `values`, in the layout's order. A section without
    any of them is left out; the Testing section is written only with testing true, as the client
    does."""
    if values.get('testing') != 'true':
        values = {key: value for key, value in values.items()
                  if key not in ('testing', 'auto_username', 'auto_password', 'auto_character',
                                 'auto_increment')}
    blocks = []
    for section, width, lines in LAYOUT:
        body = []
        for line in lines:
            if line is None:
                body.append('')
            elif line[0] in values:
                key = 'bar' if line[0] == BAR_BINDING else line[0]
                body.append('%s = %s' % (key.rjust(width), values[line[0]]))
        if any(body):
            blocks.append('\n'.join(['// ' + section, ''] + body) + '\n')
    return _encode('\n'.join(blocks))


def _encode(text):
    """Text mode on Windows: every line feed is written as CR LF; one byte per character."""
    return text.replace('\n', '\r\n').encode('latin-1')


def defaults_variant():
    """The file a first start writes; read back, it is written again unchanged."""
    text = render(new_file_values())
    return Variant(text, text)


def partial_variant(values):
    """A file holding only the given keys (values in the form the client writes them): every
    other key takes its value for a missing line."""
    expected = missing_values()
    expected.update(values)
    return Variant(render(values), render(expected))


# Values the client cannot read as their form asks, with the value it settles on instead: a
# number that cannot be read takes the key's value for a missing line, a binding that reads as
# nothing keeps its default.
MALFORMED = {
    'width': ('abc', '800'),
    'height': ('', '600'),
    'depth': ('x32', '32'),
    'target': ('fast', '50'),
    'resolution': ('99999999999', '0'),
    'jfilter': ('-', '0'),
    'slotlimit': ('+', '2'),
    'engine': ('Direct', 'OpenGL'),
    'quality': ('medium', 'high'),
    'names': ('yes', 'true'),
    'elastic': ('', 'true'),
    'north': ('W', '17'),
    'F1': ('0', '2'),
    BAR_BINDING: ('none', '48'),
    'hide_hud': ('first,second', ''),
}


def malformed_variant():
    """A complete file whose values in MALFORMED cannot be read."""
    given = new_file_values()
    expected = dict(given)
    for key, (value, settled) in MALFORMED.items():
        given[key] = value
        expected[key] = settled
    return Variant(render(given), render(expected))


def test_client_variant(host, port, account, password, character=0, increment=0, **others):
    """A complete file that makes the client log in by itself to host:port with the account and
    enter avatar number `character`. With a non-zero `increment`, the file the client leaves
    names the next avatar, (character + 1) modulo increment, for the next test client. Other
    keys may be given their values as keyword arguments."""
    given = new_file_values()
    given.update(host=host, port=str(port), testing='true', auto_username=account,
                 auto_password=password, auto_character=str(character),
                 auto_increment=str(increment), **others)
    expected = dict(given)
    if increment:
        expected['auto_character'] = str((character + 1) % increment)
    return Variant(render(given), render(expected))


def write_settings(data_dir, contents):
    with open(os.path.join(data_dir, FILE_NAME), 'wb') as out:
        out.write(contents)


def write_sample(data_dir):
    write_settings(data_dir, defaults_variant().file)
