/* Prints every record of a PDB file as `tallowick-cli view --format csv`
   prints its records (the heading line left out), each record unpacked by a
   generated reader. Which reader, and its fields in order, come from
   reader_fields.h, which the test writes:

     #include "OrdersRecord.h"
     typedef OrdersRecord ReaderRecord;
     #define ReaderUnpack OrdersRecordUnpack
     #define ReaderName OrdersRecordName
     #define ReaderCreator OrdersRecordCreator
     #define ReaderType OrdersRecordType
     #define ReaderFieldCount OrdersRecordFieldCount
     #define ReaderErrTooShort OrdersRecordErrTooShort
     #define ReaderErrNoTerminator OrdersRecordErrNoTerminator
     #define READER_FIELDS FIELD(Long, id) FIELD(String, customer) ...

   Besides, it checks the reader's constants against the PDB's header, and
   that every record cut short (into a buffer of exactly the shorter size)
   is refused with an error code. Any fault: a message on standard error
   and exit status 1. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "reader_fields.h"

/* Records up to this size are cut at every length; longer ones at the
   first and last few. */
#define EVERY_CUT_UP_TO 1024
#define CUTS_AT_EACH_END 64

static int Fault(const char *what, unsigned long record)
{
    fprintf(stderr, "reader_driver: record %lu: %s\n", record, what);
    return 1;
}

void PrintCsvText(const char *text)
{
    const char *c;
    if (strpbrk(text, ",\"\r\n") == NULL) {
        fputs(text, stdout);
        return;
    }
    putchar('"');
    for (c = text; *c != '\0'; c++) {
        if (*c == '"')
            putchar('"');
        putchar(*c);
    }
    putchar('"');
}

void PrintString(const Char *value) { PrintCsvText(value); }
void PrintDouble(double value) { printf(value < 100000000.0 ? "%f" : "%e", value); }
void PrintFloat(float value) { printf("%f", (double)value); }
void PrintLong(Int32 value) { printf("%ld", (long)value); }
void PrintShort(UInt16 value) { printf("%u", (unsigned)value); }
void PrintTime(TimeType value) { printf("%d:%d", value.hours, value.minutes); }

void PrintDate(DateType value)
{
    printf("%d/%d/%d", 1904 + (int)value.year, (int)value.month, (int)value.day);
}

/* A twelve-hour clock: hour 0 shows as 12 AM, 1 to 12 with AM, later ones
   less 12 with PM. */
void PrintDateTime(DateTimeType value)
{
    int hour = value.hour;
    const char *half = "AM";
    if (hour == 0) {
        hour = 12;
    } else if (hour > 12) {
        hour -= 12;
        half = "PM";
    }
    printf("%d/%d/%d %d:%d:%d::0 %s", value.year, value.month, value.day, hour, value.minute,
           value.second, half);
}

static unsigned long BigEndian(const unsigned char *bytes, int count)
{
    unsigned long value = 0;
    int i;
    for (i = 0; i < count; i++)
        value = (value << 8) | bytes[i];
    return value;
}

/* Unpacks the record cut to `size` bytes, copied into a buffer of exactly
   that size: it must be refused. */
static int RefusesCut(const unsigned char *data, unsigned long size)
{
    unsigned char *copy = malloc(size == 0 ? 1 : size);
    ReaderRecord record;
    Err error;
    if (copy == NULL)
        return 0;
    memcpy(copy, data, size);
    error = ReaderUnpack(copy, (UInt32)size, &record);
    free(copy);
    return error == ReaderErrTooShort || error == ReaderErrNoTerminator;
}

static int PrintRecord(const unsigned char *data, unsigned long size, unsigned long index)
{
    unsigned char *copy = malloc(size == 0 ? 1 : size);
    ReaderRecord record;
    int first = 1;
    unsigned long cut;
    if (copy == NULL)
        return Fault("out of memory", index);
    memcpy(copy, data, size);
    if (ReaderUnpack(copy, (UInt32)size, &record) != 0) {
        free(copy);
        return Fault("refused whole", index);
    }
#define FIELD(kind, member)  \
    if (!first)              \
        putchar(',');        \
    first = 0;               \
    Print##kind(record.member);
    READER_FIELDS
#undef FIELD
    fputs("\r\n", stdout);
    free(copy);
    for (cut = 0; cut < size; cut++) {
        if (size > EVERY_CUT_UP_TO && cut == CUTS_AT_EACH_END)
            cut = size - CUTS_AT_EACH_END;
        if (!RefusesCut(data, cut)) {
            fprintf(stderr, "reader_driver: record %lu cut to %lu of %lu bytes: not refused\n",
                    index, cut, size);
            return 1;
        }
    }
    return 0;
}

int main(int argc, char **argv)
{
    FILE *file;
    unsigned char *pdb;
    long fileSize;
    unsigned long count, i, fields = 0, creator, type;
    if (argc != 2) {
        fputs("usage: reader_driver FILE.pdb\n", stderr);
        return 2;
    }
    file = fopen(argv[1], "rb");
    if (file == NULL || fseek(file, 0, SEEK_END) != 0 || (fileSize = ftell(file)) < 78 ||
        fseek(file, 0, SEEK_SET) != 0) {
        perror(argv[1]);
        return 1;
    }
    pdb = malloc((size_t)fileSize);
    if (pdb == NULL || fread(pdb, 1, (size_t)fileSize, file) != (size_t)fileSize) {
        perror(argv[1]);
        return 1;
    }
    fclose(file);

#define FIELD(kind, member) fields++;
    READER_FIELDS
#undef FIELD
    creator = BigEndian(pdb + 64, 4);
    type = BigEndian(pdb + 60, 4);
    if (strncmp((const char *)pdb, ReaderName, 32) != 0 || strlen(ReaderName) > 31 ||
        creator != ReaderCreator || type != ReaderType || fields != ReaderFieldCount) {
        fputs("reader_driver: the reader's name, creator, type or field count differ from the "
              "PDB's\n",
              stderr);
        return 1;
    }

    count = BigEndian(pdb + 76, 2);
    if (78 + 8 * count > (unsigned long)fileSize) {
        fputs("reader_driver: the record list runs past the file\n", stderr);
        return 1;
    }
    for (i = 0; i < count; i++) {
        unsigned long start = BigEndian(pdb + 78 + 8 * i, 4);
        unsigned long end =
            i + 1 < count ? BigEndian(pdb + 78 + 8 * (i + 1), 4) : (unsigned long)fileSize;
        if (start > end || end > (unsigned long)fileSize)
            return Fault("lies outside the file", i);
        if (PrintRecord(pdb + start, end - start, i) != 0)
            return 1;
    }
    free(pdb);
    return fflush(stdout) == 0 ? 0 : 1;
}
