#include "units.h"

t_unitquantity::t_unitquantity()
    : wQuantity(0), lSubQuantity(-1), wKind(0), wDevice(0), wIndex(0), dwFlags(0), szName{}, szSymbol{} {}

t_unitquantity::~t_unitquantity() = default;
