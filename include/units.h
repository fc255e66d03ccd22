// units.h: the interface of the units-of-measure service for host applications.
//
// Conventions for every function declared here:
//  - Threads. Reading functions may be called from any number of threads at
//    once, also while another thread changes the catalogue: the conversions
//    (UnitGetCurrent, UnitGetCurrentRel, UnitGetBase, UnitGetBaseRel, single
//    values and arrays), UnitGetFactors, UnitGetName, UnitGetSymbol, the
//    UnitGetUnitText* family, UnitExistQuantity, the enumerations
//    (UnitGetQuantities, UnitGetSubQuantities, UnitGetAll*Quantities),
//    UnitGetFilterIndex, UnitGetFilterEntries, UnitGetTextMode, UnitGetMode
//    and UnitHasPrivilege. Each sees one whole catalogue: the one before or
//    the one after a concurrent change, never a mixture (all values of one
//    array come from the same catalogue). Changing functions (UnitSetValue,
//    UnitSetTextMode, UnitSetFilterIndex, UnitChangeUserInfo, UnitChangeUDF,
//    UnitAddDeviceIndex, UnitAddSelectList, UnitClearSelectList) are
//    serialized among themselves; a reader never waits for them. Single-value
//    conversions take no lock.
//  - No function lets an exception escape. Failures are reported by the result:
//    false, 0, a null pointer, or the text "(?)".
//  - A null pointer where a text, value or buffer is expected gives the failure
//    result of that function.
//  - Texts returned as `const char*` belong to the library and to the calling
//    thread: no other thread overwrites them. Each text function keeps its last
//    four results per thread, so a text stays valid until the same thread has
//    called the same function four more times (UnitGetUnitTextFormat: until the
//    thread's next call of it), whatever other threads do and also after the
//    catalogue is replaced. Copy what you keep; never free them.
//  - Arrays handed out through reference arguments belong to the caller, who
//    releases them with UnitDeleteArray (arrays of t_unitquantity) or
//    UnitDeletePtr (plain number arrays) and never in any other way.
//  - Quantity identifiers are unsigned 16-bit numbers; a display value is
//    base value x factor + offset of the quantity's current display unit.
#ifndef UNITS_UNITS_H_
#define UNITS_UNITS_H_

#if defined(_WIN32)
#include <windows.h>
#if defined(UNITS_BUILDING_LIBRARY)
#define UNITS_API __declspec(dllexport)
#else
#define UNITS_API __declspec(dllimport)
#endif
#if defined(_M_IX86) || defined(__i386__)
#define UNITS_CALL __stdcall
#else
#define UNITS_CALL
#endif
#else
#define UNITS_API __attribute__((visibility("default")))
#define UNITS_CALL
// Opaque window handle. On Linux UnitEdit(HWND) takes the host's QWidget*.
typedef struct HWND__* HWND;
#endif

// Enumeration result record. The layout is part of the interface: a table
// pointer of the platform's pointer size (8 bytes on x86-64), then the fields
// below without gaps. Arrays of it are allocated by the library, keep their
// element count, and are released with UnitDeleteArray.
#pragma pack(push, 1)
class UNITS_API t_unitquantity {
 public:
  t_unitquantity();
  virtual ~t_unitquantity();

  unsigned short wQuantity;  // quantity identifier
  int lSubQuantity;          // subquantity number; 0 for a bare quantity
  unsigned short wKind;      // kind bits (mask 0xF000) of the subquantity
  unsigned short wDevice;    // device number of the registration, 0 if none
  unsigned short wIndex;     // index number of the registration, 0 if none
  unsigned int dwFlags;      // subquantity flags
  char szName[41];           // translated display name
  char szSymbol[21];         // display symbol
};
#pragma pack(pop)

// Dialogs. They run modally on the calling thread, which must be the thread
// of the host's windows (and of its QApplication, when it has one; without
// one the library makes its own). The dialogs come from libunits_dialogs.so
// beside the library, loaded on the first call; without it, without the
// toolkit or without a usable display they return false and write the reason
// to the debug channel. Threads converting meanwhile see the catalogue before
// or after the change, never a mixture.
//
// Lets the user choose the display unit of `quantity`; `parent` is a native
// window id (an X11 window on Linux), 0 for none. True when the user chose
// with OK and the choice was saved; false for an unknown quantity, Cancel,
// no dialog, or a failed save (the choice then holds in memory but is not
// stored).
UNITS_API bool UNITS_CALL UnitOpenSelectUnitDlg(unsigned short quantity, unsigned long parent);

// The main dialog, in which the user edits quantities, units, quantity
// groups and the display settings; `parent` is the host's window: a
// QWidget* (on Linux) or, in the second form, a native window id, 0 for
// none. True when the user closed it with "Close" and everything was saved;
// false for Cancel, a missing privilege (bit 0x1), no dialog, or while
// another main dialog is open (one at a time per process). A failed save
// is shown to the user, who may retry or cancel.
UNITS_API bool UNITS_CALL UnitEdit(HWND parent);
UNITS_API bool UNITS_CALL UnitEdit(unsigned long parent);

// Exported dialog pointers. Only _UnitMainDlg is ever set, while UnitEdit runs.
extern "C" UNITS_API void* _UnitMainDlg;
extern "C" UNITS_API void* _EditQuantityDlg;
extern "C" UNITS_API void* _EditSubQuantityDlg;
extern "C" UNITS_API void* _UnitSelectDlg;
extern "C" UNITS_API void* _EditUnitDlg;

// ---- Privileges, settings and memory -------------------------------------

// True when the privilege mask and `mask` share at least one bit.
UNITS_API bool UNITS_CALL UnitHasPrivilege(unsigned long mask);

// Sets one module value from `size` bytes at `value`:
//   100 (size 4): privilege mask                          -> true
//   101 (size 2): file-only mode; switches the working file names and reloads -> true
//   102 (size 1..260): working UDF name (takes effect at the next load/save) -> false
//   103 (size 1..260): working FDF name                                     -> false
// Any other key or size, and an empty name, changes nothing and returns false.
UNITS_API bool UNITS_CALL UnitSetValue(unsigned short key, void* value, unsigned long size);

// Text mode: 0 shows symbols, 1 their plain-text forms. Returns the new mode.
UNITS_API unsigned short UNITS_CALL UnitSetTextMode(unsigned char on);
UNITS_API bool UNITS_CALL UnitGetTextMode();
// Selector 1: the text mode; any other selector: 0xFFFF.
UNITS_API unsigned short UNITS_CALL UnitGetMode(const unsigned short which);

// Release memory handed out by the library. A null pointer is accepted. Always true.
UNITS_API bool UNITS_CALL UnitDeletePtr(void* p);
UNITS_API bool UNITS_CALL UnitDeleteArray(void* p);

// ---- Conversion ------------------------------------------------------------
// Current = display unit of the quantity. Rel forms convert differences (no
// offset). False only when the quantity does not exist; outputs then stay as
// they were. Arrays may be converted in place (values == results).

UNITS_API bool UNITS_CALL UnitGetCurrent(const unsigned short quantity, const float value, float& result);
UNITS_API bool UNITS_CALL UnitGetCurrent(const unsigned short quantity, const double value, double& result);
UNITS_API bool UNITS_CALL UnitGetCurrent(const unsigned short quantity, const double* const values,
                                         double* results, int count);
UNITS_API bool UNITS_CALL UnitGetCurrentRel(const unsigned short quantity, const float value, float& result);
UNITS_API bool UNITS_CALL UnitGetCurrentRel(const unsigned short quantity, const double value, double& result);
UNITS_API bool UNITS_CALL UnitGetCurrentRel(const unsigned short quantity, const double* const values,
                                            double* results, int count);
UNITS_API bool UNITS_CALL UnitGetBase(const unsigned short quantity, const float value, float& result);
UNITS_API bool UNITS_CALL UnitGetBase(const unsigned short quantity, const double value, double& result);
UNITS_API bool UNITS_CALL UnitGetBase(const unsigned short quantity, const double* const values,
                                      double* results, int count);
UNITS_API bool UNITS_CALL UnitGetBaseRel(const unsigned short quantity, const float value, float& result);
UNITS_API bool UNITS_CALL UnitGetBaseRel(const unsigned short quantity, const double value, double& result);
UNITS_API bool UNITS_CALL UnitGetBaseRel(const unsigned short quantity, const double* const values,
                                         double* results, int count);

// Factor and offset of the defined unit whose text equals `unit` byte for byte.
UNITS_API bool UNITS_CALL UnitGetFactors(const unsigned short quantity, const char* const unit, float& factor,
                                         float& offset);

// ---- Storage location ------------------------------------------------------
// The catalogue, the groups and the display settings live in a registry key
// (path + user part; a path beginning with ".DEFAULT" lies below HKEY_USERS,
// any other below HKEY_LOCAL_MACHINE) or, in file-only mode, in the working
// files. Until a key is chosen the library loads the working files of its
// data folder but, outside file-only mode, saves nothing: a registration made
// then (UnitAddDeviceIndex) lasts only until the next load. Choose a key, or
// switch file-only mode on, before registering what must persist.

// Chooses the key and reloads. A key that holds nothing yet is filled from the
// working files. A null path changes nothing.
UNITS_API void UNITS_CALL UnitChangeUserInfo(char* path, char* user, unsigned short number);
// Chooses the key (a backslash is appended to the path) and reloads without
// falling back to files; if the key holds no quantity, reads `file` (a bare
// name lies in the data folder, ".udf" is added when there is no extension)
// and stores it in the key. True when the catalogue then holds a quantity.
UNITS_API bool UNITS_CALL UnitChangeUDF(char* path, char* user, char* file);

// ---- Names, symbols and unit texts ------------------------------------------
// Names are translated; symbols are not. A variant registered for a device
// and index gets the device name (and index) after its name or symbol.
// Unknown quantities and registrations give "(?)". Results are this thread's
// (see the conventions at the top).

extern "C" UNITS_API const char* UNITS_CALL UnitGetName(unsigned short quantity, short subquantity,
                                                        unsigned long flags, unsigned short device,
                                                        unsigned short index);
// With `exact` false an unknown variant falls back to the symbol of its
// subquantity or quantity instead of "(?)".
extern "C" UNITS_API const char* UNITS_CALL UnitGetSymbol(unsigned short quantity, short subquantity,
                                                          unsigned long flags, unsigned short device,
                                                          unsigned short index, bool exact);

// Text of the current display unit / of the base unit.
UNITS_API const char* UNITS_CALL UnitGetUnitText(const unsigned short quantity);
UNITS_API const char* UNITS_CALL UnitGetUnitBaseText(const unsigned short quantity);
// The unit part of an axis label in the current unit format:
// 0 "in s", 1 "/ s", 2 "/ (s)", 3 "[s]" (after the quantity and a space).
UNITS_API const char* UNITS_CALL UnitGetUnitTextEx(const unsigned short quantity);
// Prefix (part 0) or suffix (other parts) of the current unit format.
UNITS_API const char* UNITS_CALL UnitGetUnitTextFormat(int part);
// All defined unit texts, each NUL-terminated, closed by one more NUL. The
// buffer needs one byte beyond the list (a list of 7 bytes, closing NUL
// included, needs 8); false when it is smaller (the texts that fit stay,
// closed by the second NUL), for an unknown quantity or when no unit is
// defined.
UNITS_API bool UNITS_CALL UnitGetUnitTextAll(const unsigned short quantity, char* buffer, unsigned long size);

// ---- Registrations and select lists -----------------------------------------

// Whether the variant is registered (a slot without registrations stands for
// device 0, index 0).
UNITS_API bool UNITS_CALL UnitExistQuantity(unsigned short quantity, int subquantity, unsigned long flags,
                                            unsigned short device, unsigned short index);
// Registers the variant and runs the save sequence; false when it existed or
// found no room. A failed save does not change the result: it is reported on
// the debug channel, and the registration then lasts until the next load.
UNITS_API bool UNITS_CALL UnitAddDeviceIndex(unsigned short quantity, int subquantity, unsigned long flags,
                                             unsigned short device, unsigned short index);
// Adds a variant to select list `list` (0..4; the query reads list 0) and
// switches the restriction on. The lists share 500 positions.
UNITS_API bool UNITS_CALL UnitAddSelectList(unsigned short quantity, int subquantity, unsigned long flags,
                                            unsigned short device, unsigned short index, int list);
// Empties every select list and switches the restriction off. The form with
// an argument reports false although it clears.
UNITS_API bool UNITS_CALL UnitClearSelectList();
UNITS_API bool UNITS_CALL UnitClearSelectList(int list);

// ---- Enumerations -----------------------------------------------------------
// Lists are arrays of t_unitquantity owned by the caller (UnitDeleteArray);
// on failure the list is null and the count 0.

// Enabled quantities, without subquantities.
UNITS_API bool UNITS_CALL UnitGetQuantities(t_unitquantity*& list, int& count);
// The unrestricted variants as five parallel arrays, each released with
// UnitDeletePtr; all null when there is none.
UNITS_API bool UNITS_CALL UnitGetQuantities(unsigned short*& devices, unsigned short*& quantities,
                                            int*& subquantities, unsigned short*& indexes, unsigned long*& flags,
                                            int& count);
// Active variants of one quantity (or the quantity itself when it has none).
UNITS_API bool UNITS_CALL UnitGetSubQuantities(const unsigned short quantity, t_unitquantity*& list, int& count);
// Variants of all enabled quantities, ignoring the current group but not the
// select list. True also for an empty list; false only for an inert library
// or a query that could not finish (out of memory).
UNITS_API bool UNITS_CALL UnitGetAllQuantities(t_unitquantity*& list, int& count);
UNITS_API t_unitquantity* UNITS_CALL UnitGetAllQuantities(int& count);
// The same, ignoring the select list too; the same result.
UNITS_API bool UNITS_CALL UnitGetAllUnfilteredQuantities(t_unitquantity*& list, int& count);
// Variants restricted by the select list and the current group.
UNITS_API bool UNITS_CALL UnitGetAllFilterQuantities(t_unitquantity*& list, int& count);
UNITS_API t_unitquantity* UNITS_CALL UnitGetAllFilterQuantities(int& count);

// ---- Quantity groups ---------------------------------------------------------
// Index 0 is "All quantities", k the k-th group.

UNITS_API int UNITS_CALL UnitGetFilterIndex();
// False (and no change) for an index outside 0..number of groups.
UNITS_API bool UNITS_CALL UnitSetFilterIndex(int index);
// Writes "All quantities" and the group names, each NUL-terminated, followed by
// one more NUL, into `buffer`. The list ends before the first name that does
// not fit whole (later, shorter names are not tried), and nothing is written
// past `size` bytes; a buffer below 16 bytes gets nothing. Returns the number
// of names written: name i belongs to group index i.
UNITS_API int UNITS_CALL UnitGetFilterEntries(char* buffer, unsigned long size);

#endif  // UNITS_UNITS_H_
