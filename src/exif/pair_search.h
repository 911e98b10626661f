// The search for a two-byte marker through a file without metadata, which has to look
// at every byte of it: in a JPEG body FF comes every few hundred bytes, so looking for
// it with memchr cost a call for each and as much as the kernel's copy of the file.
#ifndef PRECHECK_EXIF_PAIR_SEARCH_H_
#define PRECHECK_EXIF_PAIR_SEARCH_H_

// The first position p in [begin, end - 1) with p[0] == first and p[1] == second, or
// nullptr when there is none.
const unsigned char* findBytePair(const unsigned char* begin, const unsigned char* end,
                                  unsigned char first, unsigned char second);

#endif  // PRECHECK_EXIF_PAIR_SEARCH_H_
