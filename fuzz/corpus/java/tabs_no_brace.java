/* class X */ class	A {
