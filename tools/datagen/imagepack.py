"""What the image packs share: the pixel key and the enciphered form of a pixel block."""
import veltorxtea

# The key of every enciphered pixel block (skin, fonts, sprite pixels): four little-endian words.
PIXEL_KEY = veltorxtea.key_bytes(0x5EC7A11D, 0x0B3F6E29, 0xD4826C73, 0x91F0B5A8)


def enciphered_pixels(pixels):
    """A pixel block as the packs store it: padded to a multiple of 8 bytes and enciphered."""
    return veltorxtea.encrypt(PIXEL_KEY, veltorxtea.padded(pixels))


def deciphered_pixels(block, length):
    """The first length bytes of an enciphered pixel block (the block is padded to 8)."""
    return veltorxtea.decrypt(PIXEL_KEY, block[:(length + 7) // 8 * 8])[:length]


def bgra(image):
    """The pixels of a PIL RGBA image as the packs keep them: 32-bit 0xAARRGGBB little-endian."""
    return image.convert('RGBA').tobytes('raw', 'BGRA')
