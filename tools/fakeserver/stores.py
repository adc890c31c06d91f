"""Server messages of the bank, the merchants' shops, trades and the brewing and crafting
windows. Items are the sample shapes' item records (gamemessages.item_record)."""
from fakeserver.gamemessages import item_record
from fakeserver.wire import Writer

BANK, BREWING, CRAFTING, SHOP, PARTNER_OFFER, OWN_OFFER = 250, 251, 252, 253, 254, 255
LIST_RUN, LIST_END = 254, 255


def bank_open(title, slots):
    """Op 144: the bank's title and its slots, a mapping of slot numbers to shapes; empty slots
    before an item are skipped with one run."""
    writer = Writer(144).u16(0).string8(title)
    at = 0
    for slot in sorted(slots):
        if slot > at:
            writer.u8(LIST_RUN).varstop(slot - at)
        item_record(writer, slots[slot])
        at = slot + 1
    return writer.u8(LIST_END).bytes()


def bank_closed():
    """Op 145."""
    return Writer(145).bytes()


def bank_balance(copper_coins):
    """Op 148."""
    return Writer(148).u32(copper_coins).bytes()


def container_insert(container, slot, shape, count=1):
    """Op 82: one item inserted at a slot of a container."""
    return item_record(Writer(82).u8(container).u8(slot).u8(1), shape, count).bytes()


def shop_open(title, goods, offers):
    """Op 219: goods as (shape, stock, price, name) and offers as (shape, amount, price, name)."""
    writer = Writer(219).string8(title).u8(len(goods))
    for shape, stock, price, name in goods:
        item_record(writer, shape).u16(stock).u32(price).string8(name)
    writer.varint(len(offers))
    for offer in offers:
        _offer(writer, *offer)
    return writer.bytes()


def _offer(writer, shape, amount, price, name):
    return item_record(writer, shape).varint(amount).varint(price).string8(name)


def shop_offer(slot, shape, amount, price, name):
    """Op 214: one entry of the things the shop buys."""
    return _offer(Writer(214).varint(slot), shape, amount, price, name).bytes()


def shop_closed():
    """Op 220."""
    return Writer(220).bytes()


def sell_question(shape, total):
    """Op 222: the server asks whether to sell an item for a total in copper coins."""
    return item_record(Writer(222), shape).u32(total).bytes()


def trade_open(partner):
    """Op 88."""
    return Writer(88).string8(partner).bytes()


def trade_accepted():
    """Op 89: the partner accepted."""
    return Writer(89).bytes()


def trade_closed():
    """Op 90."""
    return Writer(90).bytes()


def brewing_open():
    """Op 92."""
    return Writer(92).bytes()


def brewing_closed():
    """Op 93."""
    return Writer(93).bytes()


def crafting_open():
    """Op 212."""
    return Writer(212).bytes()


def crafting_closed():
    """Op 213."""
    return Writer(213).bytes()


def trade_request(creature_id):
    """Op 91: the creature asks the player to trade; the client offers to start or reject."""
    return Writer(91).u32(creature_id).bytes()


def goods_update(slot, amount, price):
    """Op 221: the amount and price of the open shop's goods in the slot."""
    return Writer(221).u8(slot).u16(amount).u32(price).bytes()


def question_withdrawn():
    """Op 223: the server withdrew its question whether to sell (op 222)."""
    return Writer(223).bytes()
