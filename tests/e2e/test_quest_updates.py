"""Quest updates in the game: a quest the server reports anew lights the status panel's journal
button until the player opens the journal; progress towards a count that goes on leaves it
dark."""
import time
import unittest

import numpy

from datagen import quests
from fakeserver import journal
from fakeserver.server import Frame
from harness.commands import poll
from worldscreen import WorldScreenTestCase, mean_difference

MILLER = quests.SAMPLE_QUESTS[0]
# Stage 2 of the miller's quest counts 5 sacks: stages 3 and 4 are 1 and 2 of them.
COUNTING_FROM = MILLER.stages[1].stage
# The left column, where the status panel is pinned at the top.
COLUMN = (0, 0, 156, 250)
# The journal (630 x 504) centred on the 800 x 600 client area: its title band.
JOURNAL_TITLE = (95, 50, 500, 16)
CHANGED = 5
# A point of the game field, where the pointer hovers over no button.
AWAY = (400, 200)
WAIT = 30
# How long a message the client reads at once may take to show on a loaded machine.
SHOWN_WITHIN = 2.0


class QuestUpdatesTest(WorldScreenTestCase):

    def picture(self, client, box):
        return self.box_picture(client, box).astype(int)

    def changed_rows(self, client, before):
        """The rows of the column that differ from the picture before, as a box, or None."""
        rows = numpy.flatnonzero(
            numpy.abs(self.picture(client, COLUMN) - before).mean(axis=(1, 2)) > CHANGED)
        if not len(rows):
            return None
        return (COLUMN[0], int(rows[0]), COLUMN[2], int(rows[-1]) - int(rows[0]) + 1)

    def test_a_new_quest_lights_the_journal_button_until_the_journal_opens(self):
        with self.playing("OpenGL") as (server, client):
            session = server.sessions[0]
            dark = self.picture(client, COLUMN)
            session.perform([Frame(journal.quest_update(MILLER.quest, COUNTING_FROM,
                                                        MILLER.value))])
            button = poll(lambda: self.changed_rows(client, dark), WAIT, "the journal button lit")
            lit = self.picture(client, button)
            left, top, width, height = button
            unlit = dark[top:top + height, left:left + width]
            # The light is green.
            self.assertGreater(float((lit - unlit)[..., 1].mean()),
                               float((lit - unlit)[..., 0].mean()))

            # The button opens the journal, which puts its light out; the journal hotkey closes
            # it.
            title = self.picture(client, JOURNAL_TITLE)
            client.click(left + width // 2, top + height // 2)
            poll(lambda: mean_difference(self.picture(client, JOURNAL_TITLE), title) > CHANGED,
                 WAIT, "the journal")
            client.key("ctrl+j")
            area = self.area(client)
            client.session.xdotool("mousemove", "--sync", area.x + AWAY[0], area.y + AWAY[1])
            poll(lambda: mean_difference(self.picture(client, button), unlit) < 1, WAIT,
                 "the journal button dark again")

            # One more sack of the five: the count goes on, the button stays dark.
            session.perform([Frame(journal.quest_update(MILLER.quest, COUNTING_FROM + 1,
                                                        MILLER.value))])
            time.sleep(SHOWN_WITHIN)
            self.assertLess(mean_difference(self.picture(client, button), unlit), 1)


if __name__ == "__main__":
    unittest.main()
