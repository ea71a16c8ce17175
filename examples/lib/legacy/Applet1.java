/* SPDX-License-Identifier: Apache-2.0 */
/*
	A class written in the style of the tool's first users:
	in the default namespace, the class body opened on the declaration line.
*/

import java.applet.*;
import java.awt.*;

/** An applet that paints a greeting. */
public class Applet1 extends java.applet.Applet {
	public void paint(Graphics g) {
		g.drawString("Hello", 20, 20);
	}
}

/* footer: written by hand */
