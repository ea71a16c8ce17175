/* head */
package p;
import x.Y;
import z.*;
/** doc */
public class A extends b.c.B {
  int x;
}
// end
