"""Checks the settings-file writer against the layout the client must read and write."""
import os
import tempfile
import unittest

from datagen import config


def lines_of(contents):
    text = contents.decode('latin-1')
    assert text.endswith('\r\n')
    return text[:-2].split('\r\n')


def values_of(contents):
    """key -> value of every key line; the binding "bar" is the one after the functions heading."""
    values, section = {}, None
    for line in lines_of(contents):
        if line.startswith('// '):
            section = line[3:]
        elif line:
            key, value = line.lstrip(' ').split(' = ', 1)
            if key == 'bar' and section == 'Controls - functions':
                key = config.BAR_BINDING
            values[key] = value
    return values


class DefaultFile(unittest.TestCase):
    def setUp(self):
        self.contents = config.defaults_variant().file
        self.lines = lines_of(self.contents)

    def test_text_mode_line_ends(self):
        self.assertNotIn(b'\n', self.contents.replace(b'\r\n', b''))
        self.assertNotIn(b'\r', self.contents.replace(b'\r\n', b''))

    def test_lines_as_the_layout_shows_them(self):
        for line in ['fullscreen = false', '     width = 800', '  hide_hud = ',
                     ' panel_left = 50,2,1,0,157;40,0,2,0,199', 'panel_right = 21,41,2,0,200',
                     '    engine = OpenGL', '   quality = high', 'beta_mpool = false',
                     '      host = ' + config.DEFAULT_HOST, '      port = 4080',
                     '  channels = World,Help,NPC', '       F10 = 34']:
            self.assertIn(line, self.lines)

    def test_sections_in_order_between_empty_lines(self):
        headings = [i for i, line in enumerate(self.lines) if line.startswith('//')]
        self.assertEqual([self.lines[i] for i in headings], [
            '// Video', '// Settings', '// Network', '// Controls - movement',
            '// Controls - hotkeys', '// Controls - functions', '// Controls - actions',
            '// Presets', '// Panels'])
        self.assertEqual(headings[0], 0)
        for i in headings:
            self.assertEqual(self.lines[i + 1], '')
        for i in headings[1:]:
            self.assertEqual(self.lines[i - 1], '')
            self.assertNotEqual(self.lines[i - 2], '')

    def test_ends_with_the_panel_data_line(self):
        self.assertEqual(self.lines[-1], ' panel_data = ')
        self.assertFalse(self.contents.endswith(b'\r\n\r\n'))

    def test_diagonal_directions_after_an_empty_line(self):
        start = self.lines.index('// Controls - movement')
        self.assertEqual(self.lines[start + 2:start + 12], [
            '     north = 17', '      east = 32', '     south = 31', '      west = 30', '',
            ' northeast = 18', ' southeast = 46', ' southwest = 44', ' northwest = 16', ''])

    def test_every_key_once_and_both_bars(self):
        values = values_of(self.contents)
        self.assertEqual(len(values), 8 + 60 + 3 + 35 + 7 + 3)
        self.assertEqual(values['bar'], 'true')
        self.assertEqual(values[config.BAR_BINDING], '48')
        self.assertEqual([values['F%d' % n] for n in range(1, 13)],
                         ['2', '3', '4', '5', '6', '7', '19', '20', '33', '34', '47', '48'])

    def test_written_back_unchanged(self):
        variant = config.defaults_variant()
        self.assertEqual(variant.expected, variant.file)


class PartialFile(unittest.TestCase):
    def test_only_width_gives_missing_values_elsewhere(self):
        variant = config.partial_variant({'width': '1024'})
        self.assertEqual(lines_of(variant.file), ['// Video', '', '     width = 1024'])
        expected = values_of(variant.expected)
        self.assertEqual(expected['width'], '1024')
        self.assertEqual(expected['height'], '600')
        # The three keys whose missing value differs from a new file's.
        self.assertEqual(expected['target'], '50')
        self.assertEqual(expected['experience'], 'false')
        self.assertEqual(expected['elastic'], 'true')
        self.assertNotIn('testing', expected)

    def test_binding_bar_keeps_its_heading(self):
        variant = config.partial_variant({config.BAR_BINDING: '30'})
        self.assertEqual(lines_of(variant.file), ['// Controls - functions', '', '       bar = 30'])
        expected = values_of(variant.expected)
        self.assertEqual((expected['bar'], expected[config.BAR_BINDING]), ('true', '30'))


class MalformedFile(unittest.TestCase):
    def test_unreadable_values_settle_on_their_fallbacks(self):
        variant = config.malformed_variant()
        given, expected = values_of(variant.file), values_of(variant.expected)
        for key, (value, settled) in config.MALFORMED.items():
            self.assertEqual((given[key], expected[key]), (value, settled), key)
        untouched = set(given) - set(config.MALFORMED)
        self.assertEqual({k: given[k] for k in untouched}, {k: expected[k] for k in untouched})
        # A malformed target falls back to the missing value, not to the new file's 100.
        self.assertEqual(expected['target'], '50')


class TestClientFile(unittest.TestCase):
    def test_testing_section_ends_the_file(self):
        variant = config.test_client_variant('127.0.0.1', 7171, 'tester', 'secret', 2, 3)
        lines = lines_of(variant.file)
        self.assertEqual(lines[lines.index('// Testing'):], [
            '// Testing', '', '       testing = true', ' auto_username = tester',
            ' auto_password = secret', 'auto_character = 2', 'auto_increment = 3'])
        self.assertEqual(lines[lines.index('// Testing') - 2:lines.index('// Testing')],
                         [' panel_data = ', ''])
        values = values_of(variant.file)
        self.assertEqual((values['host'], values['port']), ('127.0.0.1', '7171'))

    def test_next_avatar_in_the_file_left_behind(self):
        for character, increment, after in [(2, 3, '0'), (0, 3, '1'), (4, 0, '4')]:
            variant = config.test_client_variant('::1', 7171, 'a', 'b', character, increment)
            self.assertEqual(values_of(variant.expected)['auto_character'], after)
            self.assertEqual(values_of(variant.file)['auto_character'], str(character))


class Sample(unittest.TestCase):
    def test_sample_is_the_default_file(self):
        with tempfile.TemporaryDirectory() as folder:
            config.write_sample(folder)
            with open(os.path.join(folder, 'Veltor.config'), 'rb') as sample:
                self.assertEqual(sample.read(), config.defaults_variant().file)


if __name__ == '__main__':
    unittest.main()
