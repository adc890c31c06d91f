"""Server messages of the quest journal: the quest progress list (op 198) and the update of one
quest (op 199)."""
from fakeserver.wire import Writer


def quest_progress(entries):
    """Op 198: per entry (quest id, stage, value), the stage the player reached in a quest and
    the quest's value the client opens its journal records with."""
    writer = Writer(198).u16(len(entries))
    for quest_id, stage, value in entries:
        writer.u16(quest_id).u16(stage).u32(value)
    return writer.bytes()


def quest_update(quest_id, stage, value):
    """Op 199: the stage the player reached in one quest, 0 when the quest ended."""
    return Writer(199).u16(quest_id).u16(stage).u32(value).bytes()
