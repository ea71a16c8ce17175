/* SPDX-License-Identifier: Apache-2.0 */
/*
 * Circle.java
 */
package org.quorvane.shapes;

import java.io.Serializable;
import java.util.Locale;

/**
 * A circle of a given radius.  The word class inside this comment is
 * not a declaration.
 */
public class Circle extends AbstractShape implements Shape
{
    private final double radius; // never negative

    public Circle(double radius)
    {
        this.radius = Math.abs(radius);
    }

    /** The area, pi r squared. */
    public double area()
    {
        return Math.PI * radius * radius;
    }

    public String name()
    {
        return String.format(Locale.ROOT, "circle(%.2f)", radius);
    }
}
// end of Circle.java
