"""Server messages of the ability bar and the abilities' states and data."""
from fakeserver.gamemessages import item_record
from fakeserver.wire import Writer

# The slots the bar list of op 208 runs over.
BAR_SLOTS = 254
# Bytes of the bar list that are no ability's low byte: a run of empty slots (its length
# follows), one empty slot.
EMPTY_RUN, EMPTY_SLOT = 254, 255
# Flag bits of an ability's state: it needs no target; it cannot be used.
NO_TARGET, UNUSABLE = 0x01, 0x80


def ability_bar(slots):
    """Op 208: the whole bar; slots maps bar slots (from 0) to ability ids, the rest is empty."""
    writer = Writer(208)
    slot = 0
    while slot < BAR_SLOTS:
        if slot in slots:
            ability = slots[slot]
            if ability & 0xFF >= EMPTY_RUN:
                raise ValueError("ability %d reads as an empty-slot marker" % ability)
            writer.u16(ability)
            slot += 1
            continue
        run = 1
        while slot + run < BAR_SLOTS and slot + run not in slots and run < 255:
            run += 1
        if run == 1:
            writer.u8(EMPTY_SLOT)
        else:
            writer.u8(EMPTY_RUN).u8(run)
        slot += run
    return writer.bytes()


def bar_slot(slot, ability):
    """Op 209: one slot of the bar holds the ability."""
    return Writer(209).u8(slot).u16(ability).bytes()


def ability_state(ability, flags, total_ms=0, left_ms=0):
    """Op 217: an ability's flags and its cooldown, both times in milliseconds."""
    return _state_record(Writer(217), ability, flags, total_ms, left_ms).bytes()


def _state_record(writer, ability, flags, total_ms, left_ms):
    """Appends an ability's state record: its id, flags and cooldown in units of 10 ms."""
    return writer.u16(ability).u8(flags).u16(total_ms // 10).u16(left_ms // 10)


def ability_flags(ability, flags):
    """Op 215: an ability's flags change, its cooldown stays."""
    return Writer(215).u16(ability).u8(flags).bytes()


def all_ability_states(states):
    """Op 216: every ability is reset, then the states given as (ability, flags, total_ms,
    left_ms) tuples are set."""
    writer = Writer(216).u16(len(states))
    for state in states:
        _state_record(writer, *state)
    return writer.bytes()


# Flag bits of an ability-data record: which fields follow its ability id.
ICON, FIRST_TEXT, DESCRIPTION, THIRD_TEXT, FIFTH_TEXT, DROPPED_TEXT = (1, 2, 4, 8, 16, 32)
ABILITY_TEXTS = (FIRST_TEXT, DESCRIPTION, THIRD_TEXT, FIFTH_TEXT, DROPPED_TEXT)


def ability_data(records):
    """Op 71: records of abilities' data, ended by a flags byte 0. Each record is (ability id,
    icon, texts): the icon an item record's (shape, count, sub_id) or None, texts maps the flag
    bits FIRST_TEXT to DROPPED_TEXT to strV texts. The flags byte tells which fields follow."""
    writer = Writer(71)
    for ability, icon, texts in records:
        flags = (ICON if icon else 0) | sum(texts)
        if not flags:
            raise ValueError("ability %d: a record without fields ends the message" % ability)
        writer.u8(flags).u16(ability)
        if icon:
            item_record(writer, *icon)
        for bit in ABILITY_TEXTS:
            if bit in texts:
                writer.string_var(texts[bit])
    return writer.u8(0).bytes()
