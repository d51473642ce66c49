/* A stand-in for the Palm OS SDK's PalmOS.h with only what the generated
   reader code uses: the types below, of the sizes they have on the
   handheld (Char 8 bits, UInt16 16, Int32 and UInt32 32, Err a UInt16).
   The reader calls no Palm OS function. Compiling the reader against this
   file shows that it needs nothing else of the SDK. */
#ifndef PALMOS_STUB_H
#define PALMOS_STUB_H

typedef char Char;
typedef unsigned char UInt8;
typedef signed short Int16;
typedef unsigned short UInt16;
typedef signed long Int32;
typedef unsigned long UInt32;
typedef UInt16 Err;

/* The SDK declares the fields as UInt16 bit-fields; ISO C allows only int
   bit-fields, so they are unsigned int here. */
typedef struct {
  unsigned int year : 7; /* years since 1904 */
  unsigned int month : 4;
  unsigned int day : 5;
} DateType;

typedef struct {
  UInt8 hours;
  UInt8 minutes;
} TimeType;

typedef struct {
  Int16 second;
  Int16 minute;
  Int16 hour;
  Int16 day;
  Int16 month;
  Int16 year;
  Int16 weekDay;
} DateTimeType;

#endif
