// Reads the values of XmpValues from an XMP packet: a small reader of our own for the
// few properties drone cameras write, not an XML parser. It reads the properties of
// rdf:Description elements, written as attributes (as drones write them) or as child
// elements holding text (as editing tools write them), and matches their names by the
// namespace URI their prefix is bound to, whatever the prefix.
//
// Bounded on any bytes: it reads only [packet, packet + length), walks the packet once
// from its start, and stops at the first thing it cannot read (a tag or comment left
// open, elements nested deeper than kMostXmpDepth, a stray end tag), keeping what it
// read before. It does not read lists (rdf:Seq, rdf:Bag, rdf:Alt), nested descriptions
// of a property (rdf:parseType="Resource"), or extended XMP in further segments.
#ifndef PRECHECK_XMP_XMP_READER_H_
#define PRECHECK_XMP_XMP_READER_H_

#include <cstddef>

#include "xmp/xmp_values.h"

// Packets nest a few levels: x:xmpmeta, rdf:RDF, rdf:Description, a property, a list.
inline constexpr std::size_t kMostXmpDepth = 32;

// Namespace bindings in scope at once; a packet binds a few dozen.
inline constexpr std::size_t kMostXmpBindings = 128;

XmpValues readXmp(const char* packet, std::size_t length);

#endif  // PRECHECK_XMP_XMP_READER_H_
