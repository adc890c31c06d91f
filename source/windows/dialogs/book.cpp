#include "windows/dialogs/book.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "converttext.h"
#include "core.h"
#include "font.h"
#include "recordfile.h"
#include "render.h"
#include "spanreader.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/windowtypes.h"
#include "xtea.h"

namespace {

constexpr int32_t BookWidth = 400, BookHeight = 500, SinglePageHeight = 474;
constexpr uint32_t TitleColour = 0xCEFFFFFF;
constexpr int32_t LinePitch = 12;
constexpr int32_t TextX = 43, TextY = 62;
const char* const BooksPath = "data/Veltor.books";
const char* const BoxTitle = "Book";

}  // namespace

BookLoad Book::Load(Core* core, uint32_t bookId, const uint8_t key[16], BookText& text) {
    const BookIndexEntry* entry = core->GetBookRecord(uint16_t(bookId));
    if (!entry) return BookLoad::UnknownId;
    FILE* file = fopen(BooksPath, "rb");
    if (!file) core->FatalError("Failed to load \"Veltor.books\".");
    std::vector<uint8_t> bytes;
    const bool read =
        entry->end >= entry->offset && ReadFileRange(file, entry->offset, entry->end, bytes);
    fclose(file);
    constexpr size_t HeaderSize = XteaKeySize + 2;
    if (!read || bytes.size() < HeaderSize) return BookLoad::WrongKey;
    Xtea cipher;
    cipher.SetKey(key);
    cipher.Decrypt(bytes.data(), bytes.size() / 8);
    if (memcmp(bytes.data(), key, XteaKeySize) != 0) return BookLoad::WrongKey;

    SpanReader reader(bytes);
    reader.Bytes(XteaKeySize);
    const uint8_t count = reader.U8();
    BookText record;
    record.title = reader.Text(reader.U8());
    for (uint8_t k = 0; k < count && !reader.Failed(); ++k)
        record.paragraphs.push_back(reader.Text(reader.U16()));
    if (reader.Failed()) return BookLoad::WrongKey;
    ConvertText(record.title);
    for (std::string& paragraph : record.paragraphs) ConvertText(paragraph);
    text = std::move(record);
    return BookLoad::Read;
}

void Book::Open(Core* core, uint32_t bookId, const uint8_t key[16]) {
    BookText text;
    switch (Load(core, bookId, key, text)) {
        case BookLoad::UnknownId: core->ShowMessage(BoxTitle, "Invalid book id.", 0); return;
        case BookLoad::WrongKey: core->ShowMessage(BoxTitle, "Invalid book key.", 0); return;
        case BookLoad::Read: core->AddWindow(new Book(core, std::move(text))); return;
    }
}

Book::Book(Core* core, BookText text) : Window(core) {
    name = std::move(text.title);
    pages = std::move(text.paragraphs);
    Build();
}

void Book::Build() {
    const std::string title = name;
    ResetLayout();
    name = title;
    // No paragraph at all reads like one empty page.
    singlePage = pages.size() <= 1;
    width = BookWidth;
    height = singlePage ? SinglePageHeight : BookHeight;
    Place(int32_t(core->clientWidth), int32_t(core->clientHeight));
    movable = 1;
    modal = 1;
    CreateSurface();
    page = 0;
    typeId = WindowType::Book;
    font = core->GetFont(2);
    if (!singlePage) {
        AddPushButton(12, height - 28, PreviousButton, "previous")->visible = 0;
        AddPushButton(width - 66, height - 28, NextButton, "next");
        Paginate();
    }
    AddCloseButton();
}

int32_t Book::WrapWidth() const { return width - 86; }

int32_t Book::PageDepth() const { return height - (singlePage ? 104 : 130); }

void Book::Paginate() {
    if (!font) return;
    std::vector<std::string> paged;
    for (const std::string& paragraph : pages) {
        std::vector<size_t> starts;
        font->LayoutParagraph2(paragraph, WrapWidth(), &starts);
        // The first line placed deeper than a page holds begins the rest; the rest is not split
        // again.
        const size_t fitting = size_t(PageDepth() / LinePitch) + 1;
        if (starts.size() <= fitting) {
            paged.push_back(paragraph);
            continue;
        }
        const size_t split = starts[fitting];
        std::string carry;
        Font::CarryColours(paragraph, split, &carry);
        paged.push_back(paragraph.substr(0, split));
        paged.push_back(carry + paragraph.substr(split));
    }
    pages = std::move(paged);
}

void Book::Place(int32_t screenWidth, int32_t screenHeight) {
    PlaceCentred(screenWidth, screenHeight);
}

void Book::WrapPage(const std::string& text) {
    pageLines = font ? font->LayoutParagraph2(text, WrapWidth()) : std::vector<std::string>();
}

void Book::PaintContent() {
    DrawCorners();
    render->DrawFrame2(0, 0, width, height);
    render->FillRect(2, 2, width - 4, 19, 0x40000000);
    render->FillRect(2, 20, width - 4, 1, 0x60000000);
    const int32_t inset = singlePage ? 43 : 69;
    render->DrawBox(12, 31, width - 24, height - inset, 0);
    render->DrawBox(33, 52, width - 66, height - inset - 42, 0);
    render->FillRect(33, 52, width - 66, height - inset - 42, 0x40000000);
    if (!font) return;
    font->DrawTextCentered(width / 2, 7, name, TitleColour);
    if (!singlePage)
        font->DrawTextCentered(width / 2, height - 24,
                               std::to_string(page + 1) + " of " + std::to_string(pages.size()),
                               TitleColour);
    if (size_t(page) >= pages.size()) return;
    WrapPage(pages[size_t(page)]);
    for (size_t k = 0; k < pageLines.size(); ++k) {
        const int32_t offset = int32_t(k) * LinePitch;
        font->DrawTextSmileys(TextX, TextY + offset, pageLines[k]);
        if (offset > PageDepth()) break;
    }
}

void Book::Paint() {
    PaintCached([this] { PaintContent(); });
}

void Book::Draw() {
    DrawFrame();
    DrawCached([this] { PaintContent(); });
    DrawButtons();
}

void Book::OnSubmit() { Close(); }

void Book::Close() { core->RemoveWindow(this); }

void Book::ShowPageButtons() {
    if (Button* previous = FindButton(PreviousButton)) previous->visible = page > 0;
    if (Button* next = FindButton(NextButton)) next->visible = size_t(page) + 1 < pages.size();
    dirty = 1;
}

void Book::OnCommand(Button* button) {
    switch (button->id) {
        case ButtonId::Close: core->RemoveWindow(this); return;
        case PreviousButton:
            if (page > 0) --page;
            ShowPageButtons();
            return;
        case NextButton:
            if (size_t(page) + 1 < pages.size()) ++page;
            ShowPageButtons();
            return;
        default: return;
    }
}
