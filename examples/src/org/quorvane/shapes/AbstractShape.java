/* SPDX-License-Identifier: Apache-2.0 */
package org.quorvane.shapes;

/**
 * The common base of the shapes.
 */
public abstract class AbstractShape implements Shape
{
    public String toString()
    {
        return name() + " with area " + area();
    }
}
