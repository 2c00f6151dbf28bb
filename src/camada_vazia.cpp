// Nothing: the object a layer is linked whole around, to find its
// undefined symbols.
