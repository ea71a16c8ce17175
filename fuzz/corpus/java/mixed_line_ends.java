// c
class A
 extends B {}
